<?php
// A local stand-in for the members' site, served by "php -S" with this file
// as the router. It answers the two addresses the program uses, the way the
// real site does: a login form post that starts a session, and a check-in
// post that answers in JSON with \u escapes. Every request it receives is
// written to the record directory first, so tests can see exactly what came.
//
// Environment (passed through by tests/site/serve):
//   QUORVEXA_SITE_USER      demo user name, UTF-8 (default 签到)
//   QUORVEXA_SITE_PASSWORD  demo password, UTF-8; compared as code-page-936
//                           bytes, the way the program sends it (default qd2026)
//   QUORVEXA_SITE_RECORD    directory that receives one file per request
//   QUORVEXA_SITE_STATE     directory for sessions and check-in days

const LOGIN_PATH = '/index.php/Login/head_login_handle.html';
const LOGIN_PAGE_PATH = '/index.php/Login/head_login.html';
const CHECK_IN_PATH = '/index.php/Index/qiandao_handle.html';
const PASSWORD_FIELD = '&password=';
const USER_COOKIE = 'qv_user';

function env_or(string $name, string $fallback): string
{
    $value = getenv($name);
    return ($value === false || $value === '') ? $fallback : $value;
}

function state_dir(): string
{
    $dir = env_or('QUORVEXA_SITE_STATE', sys_get_temp_dir() . '/quorvexa-site-state');
    if (!is_dir($dir)) {
        mkdir($dir, 0777, true);
    }
    return $dir;
}

// One file per request, named by a six-digit sequence number from 000001:
// the request line, the header lines in the order getallheaders() gives
// them, an empty line, then the body bytes exactly as received. Files appear
// by rename, so a reader never sees half of one.
function record_request(string $body): void
{
    $dir = getenv('QUORVEXA_SITE_RECORD');
    if ($dir === false || $dir === '') {
        return;
    }
    if (!is_dir($dir)) {
        mkdir($dir, 0777, true);
    }
    $lock = fopen("$dir/.sequence", 'c+');
    flock($lock, LOCK_EX);
    $number = (int) stream_get_contents($lock) + 1;
    ftruncate($lock, 0);
    rewind($lock);
    fwrite($lock, (string) $number);
    fflush($lock);

    $text = $_SERVER['REQUEST_METHOD'] . ' ' . $_SERVER['REQUEST_URI'] . ' '
        . $_SERVER['SERVER_PROTOCOL'] . "\r\n";
    foreach (getallheaders() as $name => $value) {
        $text .= "$name: $value\r\n";
    }
    $text .= "\r\n" . $body;
    $name = sprintf('%06d', $number);
    file_put_contents("$dir/$name.tmp", $text);
    rename("$dir/$name.tmp", "$dir/$name.req");
    flock($lock, LOCK_UN);
    fclose($lock);
}

function reply_json(array $answer): void
{
    header('Content-Type: application/json; charset=utf-8');
    // Default flags: Chinese comes out as \u escapes, as on the real site.
    echo json_encode($answer);
}

function start_session(): void
{
    session_save_path(state_dir());
    session_name('PHPSESSID');
    session_start();
}

// The form is "http_referer=...&username=<percent-encoded UTF-8>&password=<raw
// bytes>". The password is not encoded, so it may hold '&', '=', '%' or '+':
// everything after the first "&password=" is the password, byte for byte.
function handle_login(string $body): void
{
    $at = strpos($body, PASSWORD_FIELD);
    $head = $at === false ? $body : substr($body, 0, $at);
    $password = $at === false ? '' : substr($body, $at + strlen(PASSWORD_FIELD));
    $user = '';
    foreach (explode('&', $head) as $pair) {
        if (strncmp($pair, 'username=', 9) === 0) {
            $user = rawurldecode(substr($pair, 9));
        }
    }

    $want_user = env_or('QUORVEXA_SITE_USER', '签到');
    $want_password = iconv('UTF-8', 'CP936', env_or('QUORVEXA_SITE_PASSWORD', 'qd2026'));

    // Like any page of the real site, the login page starts a session even
    // when the login is refused; only a good login marks it as logged in.
    start_session();
    if ($user !== $want_user || $password !== $want_password) {
        unset($_SESSION['user']);
        reply_json(['status' => 0, 'info' => '用户名或密码错误']);
        return;
    }
    // A fresh session id on every good login, as a careful site does, so a
    // session id that came with the request is never the logged-in one.
    session_regenerate_id(true);
    $_SESSION['user'] = $user;
    setcookie(USER_COOKIE, $user, [
        'expires' => time() + 86400,
        'path' => '/',
        'httponly' => true,
    ]);
    reply_json(['status' => 1, 'info' => '登录成功', 'url' => '/index.php/Index/index.html']);
}

// A check-in counts once per account and day; the day is kept in the state
// directory, so it survives new sessions of the same account.
function handle_check_in(): void
{
    start_session();
    $user = $_SESSION['user'] ?? null;
    if ($user === null) {
        reply_json(['status' => 0, 'info' => '请先登录']);
        return;
    }
    $days_file = state_dir() . '/check-in-days.json';
    $handle = fopen($days_file, 'c+');
    flock($handle, LOCK_EX);
    $days = json_decode(stream_get_contents($handle) ?: '{}', true) ?: [];
    $today = date('Y-m-d');
    if (($days[$user] ?? '') === $today) {
        $answer = ['status' => 0, 'info' => '今天已经签到过了'];
    } else {
        $days[$user] = $today;
        ftruncate($handle, 0);
        rewind($handle);
        fwrite($handle, json_encode($days));
        $answer = ['status' => 1, 'info' => '签到成功，获得10积分'];
    }
    flock($handle, LOCK_UN);
    fclose($handle);
    reply_json($answer);
}

$body = file_get_contents('php://input');
record_request($body);
$path = parse_url($_SERVER['REQUEST_URI'], PHP_URL_PATH) ?? '/';

switch ($path) {
    case LOGIN_PATH:
        handle_login($body);
        break;
    case CHECK_IN_PATH:
        handle_check_in();
        break;
    case '/':
    case LOGIN_PAGE_PATH:
        header('Content-Type: text/html; charset=utf-8');
        echo "<!DOCTYPE html><title>Quorvexa</title><p>Quorvexa members' site (local)</p>\n";
        break;
    default:
        http_response_code(404);
        reply_json(['status' => 0, 'info' => 'not found']);
}
