#!/usr/bin/env python3
"""The program as a user meets it: a copy of the .exe in a fresh folder,
started under Wine, driven only from outside through window messages, against
the local members' site on the port the program was built for.

usage: end_to_end.py PROGRAM.exe WINDOW_DRIVER.exe PORT
"""

import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run")
SERVE = os.path.join(ROOT, "tests", "site", "serve")
SKIP = 77

USER = "签到"
# '&', '=', '%', '+', a space and Chinese characters, none of them encoded
# on the way to the site.
PASSWORD = "p&w=1%2+ 密码"

ANSWER_DONE = '{"status":1,"info":"签到成功，获得10积分"}'
ANSWER_AGAIN = '{"status":0,"info":"今天已经签到过了"}'
DEFAULT_AGENT = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"
MOBILE_AGENT = (
    "Mozilla/5.0 (Linux; Android 4.4.2; Coolpad 8675 Build/KOT49H) AppleWebKit/537.36 "
    "(KHTML, like Gecko) Version/4.0 Chrome/30.0.0.0 Mobile Safari/537.36 "
    "MicroMessenger/5.3.1.51_r733746.462 NetType/WIFI"
)

PROGRAM, DRIVER, PORT = None, None, None


def gbk(text):
    return text.encode("gbk")


def driver(*args, timeout=60):
    done = subprocess.run([WINE_RUN, DRIVER, *args], capture_output=True, timeout=timeout)
    if done.returncode == SKIP:
        raise unittest.SkipTest("this machine cannot run the program")
    return done.returncode, done.stdout.decode("ascii", "replace")


def from_hex(field):
    return b"" if field == "-" else bytes.fromhex(field)


class Program:
    """One run of the program from a folder of its own."""

    running = []

    def __init__(self, folder):
        self.folder = folder
        self.process = subprocess.Popen(
            [WINE_RUN, os.path.join(folder, "quorvexa-checkin.exe")],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        Program.running.append(self)
        rc, _ = driver("wait-window", "20000")
        if self.process.poll() == SKIP:
            raise unittest.SkipTest("this machine cannot run the program")
        assert rc == 0, "the main window did not appear"

    def fill(self, user, password):
        rc, _ = driver("fill", gbk(user).hex() or "", gbk(password).hex() or "")
        assert rc == 0

    def boxes(self, count, wait_ms=30000):
        """The open answer boxes once there are `count` of them: (hwnd, text, rect)."""
        rc, out = driver("wait-boxes", str(count), str(wait_ms))
        assert rc == 0, "expected %d answer boxes, saw: %r" % (count, out)
        found = []
        for line in out.splitlines():
            hwnd, text, *rect = line.split()
            found.append((hwnd, from_hex(text), [int(v) for v in rect]))
        return found

    def exit_code(self, timeout=30):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise AssertionError("the program did not end")

    def kill(self):
        """Ends a run that a failed test left behind, so that the next test
        does not find its window by the same title."""
        if self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()
            driver("wait-gone", "10000")

    def settings(self):
        with open(os.path.join(self.folder, "data", "setsoft.ini"), "rb") as f:
            return f.read()


def read_record(directory):
    """Every request the site received, in order: (request line, headers, body)."""
    requests = []
    for name in sorted(n for n in os.listdir(directory) if n.endswith(".req")):
        with open(os.path.join(directory, name), "rb") as f:
            head, _, body = f.read().partition(b"\r\n\r\n")
        request_line, *lines = head.split(b"\r\n")
        headers = [tuple(line.split(b": ", 1)) for line in lines]
        requests.append((request_line.decode(), headers, body))
    return requests


def header_lines(headers, name):
    return [value for key, value in headers if key.lower() == name.lower().encode()]


class EndToEnd(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="quorvexa-e2e-")
        self.site = None
        # The driver finds windows by title, so no other copy may be running.
        rc, _ = driver("wait-gone", "5000")
        self.assertEqual(rc, 0, "another copy of the program is running")

    def tearDown(self):
        while Program.running:
            Program.running.pop().kill()
        if self.site:
            subprocess.run([SERVE, "stop", self.site], capture_output=True)
        shutil.rmtree(self.work, ignore_errors=True)

    def fresh_folder(self, name):
        folder = os.path.join(self.work, name)
        os.makedirs(folder)
        shutil.copy(PROGRAM, os.path.join(folder, "quorvexa-checkin.exe"))
        return folder

    def start_site(self):
        self.site = os.path.join(self.work, "site")
        env = dict(os.environ, QUORVEXA_SITE_USER=USER, QUORVEXA_SITE_PASSWORD=PASSWORD)
        subprocess.run([SERVE, "start", self.site, str(PORT)], env=env, check=True,
                       capture_output=True, timeout=30)

    def test_check_in_remembers_the_boxes_and_logs_in_with_them_next_time(self):
        self.start_site()
        folder = self.fresh_folder("app")

        program = Program(folder)
        # The folder comes with the window's first moments, not after a run.
        data = os.path.join(folder, "data")
        deadline = time.time() + 10
        while not os.path.isdir(data) and time.time() < deadline:
            time.sleep(0.1)
        self.assertTrue(os.path.isdir(data))
        self.assertFalse(os.path.exists(os.path.join(folder, "data", "setsoft.ini")))
        program.fill(USER, PASSWORD)
        driver("click")
        [(box, text, _)] = program.boxes(1)
        self.assertEqual(text, gbk(ANSWER_DONE))
        driver("ok", box)
        self.assertEqual(program.exit_code(), 0)

        self.assertEqual(program.settings(),
                         gbk("[编辑框]\r\n编辑框2=" + PASSWORD + "\r\n编辑框1=" + USER + "\r\n"))

        login, check_in = read_record(os.path.join(self.site, "record"))
        host = "127.0.0.1:%d" % PORT
        self.assertEqual(login[0], "POST /index.php/Login/head_login_handle.html HTTP/1.1")
        self.assertEqual(login[2], b"http_referer=http%3A%2F%2F" + host.encode() +
                         b"%2F&username=%E7%AD%BE%E5%88%B0&password=" + gbk(PASSWORD))
        sent = [(k.decode(), v.decode()) for k, v in login[1]]
        for line in [("Host", host), ("Connection", "keep-alive"), ("User-Agent", MOBILE_AGENT),
                     ("Accept-Encoding", "gzip,deflate"),
                     ("Accept-Language", "zh-CN,en-US;q=0.8"),
                     ("Referer", "http://%s/index.php/Login/head_login.html" % host),
                     ("Accept", "*/*"),
                     ("Content-Type", "application/x-www-form-urlencoded")]:
            self.assertIn(line, sent)

        self.assertEqual(check_in[0], "POST /index.php/Index/qiandao_handle.html HTTP/1.1")
        self.assertEqual(check_in[2], b"")
        [cookie] = header_lines(check_in[1], "Cookie")
        names = [member.split(b"=")[0] for member in cookie.split(b"; ")]
        self.assertEqual(names, [b"PHPSESSID", b"qv_user"])
        self.assertEqual(header_lines(check_in[1], "User-Agent"), [DEFAULT_AGENT.encode()])
        self.assertEqual(header_lines(check_in[1], "Accept-Encoding"), [])
        self.assertEqual(header_lines(check_in[1], "Accept-Language"), [b"zh-cn"])
        self.assertEqual(header_lines(check_in[1], "Referer"),
                         [b"http://%s/index.php/Index/qiandao_handle.html" % host.encode()])

        # The second start shows both texts again and logs in with them: the
        # site knows the account has checked in today.
        program = Program(folder)
        rc, out = driver("read")
        self.assertEqual(out.split(), [gbk(USER).hex().upper(), gbk(PASSWORD).hex().upper()])
        driver("click")
        [(box, text, _)] = program.boxes(1)
        self.assertEqual(text, gbk(ANSWER_AGAIN))
        driver("ok", box)
        self.assertEqual(program.exit_code(), 0)

    def test_site_down_shows_an_empty_box_and_ends_after_ok(self):
        program = Program(self.fresh_folder("app"))
        program.fill("someone", "secret")
        driver("click")
        [(box, text, _)] = program.boxes(1)
        self.assertEqual(text, b"")
        driver("ok", box)
        self.assertEqual(program.exit_code(), 0)

    def test_two_clicks_give_two_boxes_and_the_first_ok_ends_the_program(self):
        self.start_site()
        program = Program(self.fresh_folder("app"))
        program.fill(USER, PASSWORD)
        driver("click")
        driver("click")
        boxes = program.boxes(2)
        self.assertEqual(len(boxes), 2)
        driver("ok", boxes[0][0])
        self.assertEqual(program.exit_code(), 0)

    def test_closing_during_a_check_in_stores_the_boxes_and_ends_the_program(self):
        # A site that takes the login and never answers within the test.
        listener = socket.create_server(("127.0.0.1", PORT))
        held = []

        def hold():
            listener.settimeout(20)
            try:
                while True:
                    conn, _ = listener.accept()
                    held.append(conn)
            except OSError:
                pass

        threading.Thread(target=hold, daemon=True).start()
        try:
            folder = self.fresh_folder("app")
            program = Program(folder)
            program.fill("slow", "pw")
            driver("click")
            deadline = time.time() + 10
            while not held and time.time() < deadline:
                time.sleep(0.1)
            self.assertTrue(held, "the login never reached the site")
            driver("close")
            self.assertEqual(program.exit_code(timeout=15), 0)
            self.assertEqual(program.settings(), gbk("[编辑框]\r\n编辑框2=pw\r\n编辑框1=slow\r\n"))
        finally:
            listener.close()
            for conn in held:
                conn.close()


if __name__ == "__main__":
    PROGRAM, DRIVER, PORT = sys.argv[1], sys.argv[2], int(sys.argv[3])
    if subprocess.run([WINE_RUN, "--check", PROGRAM]).returncode == SKIP:
        sys.exit(SKIP)
    result = unittest.main(argv=sys.argv[:1], exit=False, verbosity=2).result
    if result.wasSuccessful() and result.testsRun and len(result.skipped) == result.testsRun:
        sys.exit(SKIP)
    sys.exit(0 if result.wasSuccessful() else 1)
