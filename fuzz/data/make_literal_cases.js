#!/usr/bin/env node
// Writes literal_cases.txt: texts put between single quotes, with Node's
// verdict on whether the quotes hold exactly one string literal and, when
// they do, its value. The literal fuzz target checks its reader of literals
// against this table before it starts, so the reader it trusts agrees with
// a real ECMAScript engine.
//
// One case per line, three fields separated by tabs:
//   body  one_literal  value
// body and value are UTF-16 code units in hex, four digits each, "-" for
// the empty text; one_literal is 1 or 0 (value "-" then).
// Run: node fuzz/data/make_literal_cases.js
'use strict';
const fs = require('fs');
const path = require('path');
const vm = require('vm');

// Node's reading: the quoted body must evaluate, alone, to a string, and it
// must also serve as the name of one method in an object literal, where
// nothing but one string literal may stand; the two must agree.
function read(body) {
    const quoted = "'" + body + "'";
    let value;
    let object;
    try {
        value = vm.runInNewContext(quoted, {}, {timeout: 200});
        object = vm.runInNewContext('({' + quoted + '(){}})', {}, {timeout: 200});
    } catch (e) {
        return null;
    }
    if (typeof value !== 'string') return null;
    const names = Object.getOwnPropertyNames(object);
    if (names.length !== 1 || names[0] !== value) return null;
    return value;
}

function hex_units(text) {
    if (text.length === 0) return '-';
    let out = '';
    for (let i = 0; i < text.length; ++i) {
        out += text.charCodeAt(i).toString(16).padStart(4, '0').toUpperCase();
    }
    return out;
}

const bodies = [
    '', 'plain', "it\\'s", "a'b", "';x=1;'", "'+'", 'a\\', '\\\\', '\\\\\\',
    '\\b\\t\\n\\v\\f\\r', '\\"', '\\q\\/\\%', '\\x41', '\\x4', '\\xg1', '\\u7B7E', '\\u004',
    '\\u{41}', '\\u{1F600}', '\\u{110000}', '\\u{}', '\\0', '\\08', '\\09', '\\1', '\\12',
    '\\123', '\\1234', '\\377', '\\400', '\\47', '\\477', '\\777', '\\8', '\\9', '\\18', '\\128',
    'a\nb', 'a\rb', 'a\u2028b', 'a\u2029b', 'a\\\nb', 'a\\\r\nb', 'a\\\u2028b', '\u7B7E\u5230',
    '__proto__', 'constructor', '\\u005F_proto__', "'(){},'x", "x'(){}\n{}\n'",
];

// Random bodies over the units that matter to the grammar, from a fixed seed
// so that the table only changes when this script does.
const units = ["'", '\\', '"', 'x', 'u', 'v', 'b', 'n', '0', '1', '3', '4', '7', '8', '9', 'a',
               'F', '{', '}', '\n', '\r', '\u2028', '\u2029', ' ', '\u4E2D', '+', '(', ')', ';',
               ':', ','];
let seed = 20240611;
function next_random(limit) {
    seed = (seed * 1103515245 + 12345) % 2147483648;
    return seed % limit;
}
for (let n = 0; n < 1500; ++n) {
    let body = '';
    const length = next_random(9);
    for (let k = 0; k < length; ++k) body += units[next_random(units.length)];
    bodies.push(body);
}

const seen = new Set();
const lines = [];
for (const body of bodies) {
    if (seen.has(body)) continue;
    seen.add(body);
    const value = read(body);
    lines.push([hex_units(body), value === null ? '0' : '1',
                value === null ? '-' : hex_units(value)].join('\t'));
}
fs.writeFileSync(path.join(__dirname, 'literal_cases.txt'), lines.join('\n') + '\n');
console.log(`${lines.length} cases`);
