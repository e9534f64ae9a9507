#!/usr/bin/env node
// Writes data/unescape_cases.txt, the table that script_unescape is checked
// against under Wine. The expected results come from Node's own ECMAScript
// engine, independently of the JScript engine under test: Node reads each
// text as a single-quoted string literal and applies its global unescape().
//
// One case per line, four fields separated by tabs:
//   name  marker  text  expected
// marker and text are the code-page-936 bytes in hex (the encoding comes from
// Node's GBK decoder, run backwards); expected is the result as UTF-16 code
// units in hex, four digits each, cut at the first zero unit. Node cannot
// encode to code page 936, so the test converts these units with the ANSI
// code page itself. "-" stands for an empty field and, as expected, for the
// empty text. Run: node tests/text/make_unescape_cases.js
'use strict';
const fs = require('fs');
const path = require('path');

// Unicode character -> its code-page-936 bytes, from every double-byte pair.
const gbk = new Map();
const decoder = new TextDecoder('gbk', {fatal: true});
for (let lead = 0x81; lead <= 0xfe; ++lead) {
    for (let trail = 0x40; trail <= 0xfe; ++trail) {
        if (trail === 0x7f) continue;
        let ch;
        try {
            ch = decoder.decode(new Uint8Array([lead, trail]));
        } catch (e) {
            continue;
        }
        if (ch.length === 1 && !gbk.has(ch)) gbk.set(ch, [lead, trail]);
    }
}

function hex_bytes(bytes) {
    return bytes.length === 0 ? '-'
        : bytes.map((b) => b.toString(16).padStart(2, '0').toUpperCase()).join('');
}

function encode_936(text) {
    const bytes = [];
    for (const ch of text) {
        const code = ch.codePointAt(0);
        if (code !== 0 && code < 0x80) {
            bytes.push(code);
        } else if (gbk.has(ch)) {
            bytes.push(...gbk.get(ch));
        } else {
            throw new Error(`no code-page-936 form for U+${code.toString(16)}`);
        }
    }
    return bytes;
}

function hex_units(text) {
    const end = text.indexOf('\0');
    const kept = end < 0 ? text : text.slice(0, end);
    if (kept.length === 0) return '-';
    let out = '';
    for (let i = 0; i < kept.length; ++i) {
        out += kept.charCodeAt(i).toString(16).padStart(4, '0').toUpperCase();
    }
    return out;
}

// A single-quoted literal body that cannot end early: every backslash takes
// the unit after it, and no quote or line terminator stands on its own.
const one_literal = /^(?:[^'\\\n\r\u2028\u2029]|\\[^\n\r\u2028\u2029])*$/;

// Cases: [name, text, marker (default "/u"), refused]. A refused case is one
// that must give the empty text; the note says why.
const cases = [];
function accept(name, text, marker = '/u') {
    cases.push({name, text, marker, refused: false});
}
function refuse(name, text, note, marker = '/u') {
    cases.push({name, text, marker, refused: true, note});
}

// Markers and the two escape forms of unescape().
accept('percent-u', '%u7B7E%u5230');
accept('slash-u-marker', '/u7B7E/u5230');
accept('upper-case-marker-is-not-the-marker', '/U7B7E');
accept('percent-hex', '%41%42c');
accept('lower-case-hex-digits', '%u7b7e%7e%7E');
accept('marker-in-plain-text', 'http://a/user/u1 /u7B7E');
accept('empty-marker-changes-nothing', '/u7B7E', '');
accept('other-marker', '##7B7E##5230', '##');
accept('double-byte-marker', '码7B7E码5230', '码');
accept('marker-only', '/u');
accept('replies-in-code-page-936', '签到成功%21/u7B7E到');
accept('reply-with-json-escapes', '{"status":1,"msg":"/u7B7E/u5230/u6210/u529F"}');

// Forms that unescape() leaves alone.
accept('percent-z', '100%zz');
accept('empty', '');
accept('lone-percent', '%');
accept('percent-at-end', 'ab%');
accept('truncated-hex', '%4');
accept('truncated-unicode', 'x%u7B7');
accept('truncated-unicode-at-end', 'x%u0');
accept('non-hex-in-unicode', '%u7B7G%uG7B7');
accept('upper-case-u', '%U7B7E');
accept('percent-before-escape', '%%41%%u7B7E');
accept('percent-then-space', '% 41');
accept('marker-without-digits', '/uZZZZ /u12');

// Zero characters end the result.
accept('percent-zero', 'ab%00cd');
accept('unicode-zero', 'ab%u0000cd');
accept('literal-zero', 'ab\\0cd');
accept('leading-zero', '%00abc');

// Characters that code page 936 lacks, and surrogates.
accept('thai', 'a%u0E01b');
accept('hangul', '%uAC00%uAC01');
accept('surrogate-pair', '%uD83D%uDE00!');
accept('lone-high-surrogate', 'a%uD800b');
accept('lone-low-surrogate', 'a%uDC00b');
accept('latin-in-936', '%E9%u00FC%u00E0');
accept('byte-above-7f', '%80%A1%FF');

// Escapes of the literal itself, decoded before unescape() sees the text.
accept('literal-unicode-escapes', '\\u7B7E\\u5230');
accept('literal-hex-escapes', '\\x41\\x42\\x7e');
accept('literal-octal-escapes', '\\101\\102\\60\\7');
accept('octal-then-digit', '\\1234\\47a\\3777');
accept('literal-single-escapes', 'a\\bb\\tc\\fd\\ne\\rf');
accept('literal-identity-escapes', '\\a\\q\\/\\%\\签');
accept('escaped-quotes', 'it\\\'s \\"ok\\"');
accept('escaped-backslashes', 'a\\\\b\\\\\\\\');
accept('escaped-backslash-before-marker', '\\\\/u7B7E');
accept('escaped-backslash-before-literal-u', '\\\\u7B7E');
accept('literal-escape-builds-percent-form', '\\x25u7B7E\\u0025\\u0034\\u0031');
accept('decoded-quotes-are-only-text', '%27%u0027%22/u0027');
accept('decoded-line-breaks-are-only-text', 'a%0Ab%u2028c%0D');
accept('script-text-inside-literal', 'x;new ActiveXObject("WScript.Shell").Run("calc");');

// Long texts.
accept('long-escapes', '/u7B7E/u5230'.repeat(1000));
accept('long-mixed', ('签到ok%41 /u6210%u529F\\x21 %zz').repeat(200));

// Texts that must not reach the engine.
refuse('line-feed', 'a\nb', 'line break');
refuse('carriage-return-line-feed', 'a\r\nb', 'line break');
refuse('carriage-return', 'a\rb', 'line break');
refuse('single-quote', "it's", 'ends the literal');
refuse('quote-closes-literal', "';var y=1;'", 'ends the literal');
refuse('quote-after-escaped-backslash', "a\\\\';'", 'ends the literal');
refuse('trailing-backslash', 'abc\\', 'escapes the closing quote');
refuse('line-continuation', 'a\\\nb', 'not in ECMAScript 3');
refuse('short-hex-escape', '\\x4', 'malformed escape');
refuse('short-unicode-escape', '\\u12G4', 'malformed escape');
refuse('braced-unicode-escape', '\\u{41}', 'not in ECMAScript 3');
refuse('escaped-eight', '\\8', 'JScript reads it as an octal digit');
refuse('zero-then-nine', '\\09', 'JScript reads it as an octal digit');
refuse('three-digits-after-four', '\\400', 'JScript reads a third digit');
refuse('vertical-tab-escape', '\\v', 'JScript reads it as "v"');

const lines = [
    '# Generated by tests/text/make_unescape_cases.js; do not edit.',
    '# name<TAB>marker (936, hex)<TAB>text (936, hex)<TAB>expected (UTF-16 units, hex)',
];
for (const c of cases) {
    const rewritten = c.marker === '' ? c.text : c.text.split(c.marker).join('%u');
    let expected = '-';
    if (c.refused) {
        if (!c.note) throw new Error(`${c.name}: a refused case needs a reason`);
    } else {
        if (!one_literal.test(rewritten)) throw new Error(`${c.name}: not one literal`);
        const value = (0, eval)("'" + rewritten + "'");
        expected = hex_units(unescape(value));
    }
    lines.push([c.name, hex_bytes(encode_936(c.marker)), hex_bytes(encode_936(c.text)),
        expected].join('\t'));
}
const out = path.join(__dirname, 'data', 'unescape_cases.txt');
fs.writeFileSync(out, lines.join('\n') + '\n');
console.log(`${cases.length} cases written to ${out}`);
