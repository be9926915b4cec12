#!/usr/bin/env python3
"""Checks that the substitute blog service serves what the page readers cut
and misbehaves exactly when asked. Run: python3 tests/blogsvc_test.py"""

import http.client
import json
import os
import re
import subprocess
import sys
import unittest

SVC = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools", "blogsvc.py")
ENTRY = '<span class="atc_title"><a href="'


class BlogServiceTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.proc = subprocess.Popen(
            [sys.executable, SVC, "--port", "0", "--articles", "30", "--per-page", "10", "--user", "Ann"],
            stdout=subprocess.PIPE, text=True)
        line = cls.proc.stdout.readline()
        cls.port = int(re.match(r"listening on [\d.]+:(\d+)", line).group(1))

    @classmethod
    def tearDownClass(cls):
        cls.proc.kill()
        cls.proc.wait()
        cls.proc.stdout.close()

    def setUp(self):
        self.config({"articles": 30, "per_page": 10, "faults": [], "list_charset": "utf-8", "require_cookie": False,
                     "redirect_home": False, "redirect_articles": 0, "transfer": "length", "past_end": "empty"})
        self.get("/_ctl/log?clear=1")

    def request(self, path, headers=None, method="GET", body=None):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
        conn.request(method, path, body=body, headers=headers or {})
        resp = conn.getresponse()
        data = resp.read()
        conn.close()
        return resp, data

    def get(self, path, headers=None):
        return self.request(path, headers)

    def config(self, settings):
        resp, body = self.request("/_ctl/config", method="POST", body=json.dumps(settings).encode())
        self.assertEqual(resp.status, 200, body)

    def entries(self, page):
        resp, body = self.get("/s/articlelist_1_0_%d.html" % page)
        self.assertEqual(resp.status, 200)
        charset = resp.getheader("Content-Type").split("charset=")[1]
        text = body.decode(charset)
        return [chunk.split('"', 1)[0] for chunk in text.split(ENTRY)[1:]]

    def test_home_page_names_the_first_list_page_after_the_home_tab(self):
        for name in ("Ann", "ann"):
            resp, body = self.get("/" + name)
            text = body.decode("utf-8")
            home = 'a href="http://127.0.0.1:%d/Ann" class="on">首页' % self.port
            self.assertIn(home, text)  # the canonical letter case, whatever was asked
            after = text[text.index(home):text.index("博文目录")]
            self.assertRegex(after, r'<a href="http://127\.0\.0\.1:\d+/s/articlelist_\d+_0_1\.html">$')
        self.assertEqual(self.get("/someone-else")[0].status, 404)
        self.config({"unknown_user": "page"})
        resp, body = self.get("/someone-else")
        self.assertEqual(resp.status, 200)
        self.assertNotIn("博文目录", body.decode("utf-8"))
        self.config({"unknown_user": "404"})

    def test_lists_page_newest_first_and_grow_between_runs(self):
        pages = [self.entries(p) for p in (1, 2, 3, 4)]
        self.assertEqual([len(p) for p in pages], [10, 10, 10, 0])
        self.assertTrue(pages[0][0].endswith("/s/blog_1030.html"))
        self.assertTrue(pages[2][-1].endswith("/s/blog_1001.html"))
        self.get("/_ctl/add?n=3")
        self.assertTrue(self.entries(1)[0].endswith("/s/blog_1033.html"))
        self.assertTrue(self.entries(1)[3].endswith("/s/blog_1030.html"))
        self.config({"past_end": "repeat"})
        self.assertEqual(self.entries(9), self.entries(4))

    def test_article_page_markers_and_lazy_images(self):
        resp, body = self.get("/s/blog_1007.html")
        text = body.decode("utf-8")
        self.assertIn("<title>第7篇文章_", text)
        start, end = text.index('<div class="articalContent"'), text.index('<div class="shareUp">')
        self.assertLess(start, end)
        self.assertIn('src="http://img.example.com/blog7style/images/common/sg_trans.gif" real_src =', text[start:end])
        self.get("/_ctl/edit?k=7")
        self.assertNotEqual(self.get("/s/blog_1007.html")[1], body)
        self.assertEqual(self.get("/s/blog_1031.html")[0].status, 404)

    def test_gbk_list_pages(self):
        self.config({"list_charset": "gbk", "titles": "awkward"})
        resp, body = self.get("/s/articlelist_1_0_1.html")
        self.assertEqual(resp.getheader("Content-Type"), "text/html; charset=gbk")
        self.assertIn("文章列表".encode("gbk"), body)
        self.assertEqual(len(self.entries(1)), 10)
        self.config({"titles": "plain"})

    def test_faults_fire_as_asked(self):
        self.config({"faults": ["article:5=status:500@1", "article:6=truncate", "article:8=reset", "list:2=close"]})
        self.assertEqual(self.get("/s/blog_1005.html")[0].status, 500)
        self.assertEqual(self.get("/s/blog_1005.html")[0].status, 200)  # only once
        with self.assertRaises(http.client.IncompleteRead):
            self.get("/s/blog_1006.html")
        with self.assertRaises((ConnectionResetError, http.client.RemoteDisconnected)):
            self.get("/s/blog_1008.html")
        with self.assertRaises(http.client.RemoteDisconnected):
            self.get("/s/articlelist_1_0_2.html")

    def test_an_endless_body_keeps_coming(self):
        self.config({"faults": ["article:2=endless:200"]})
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=2.5)
        conn.request("GET", "/s/blog_1002.html")
        resp = conn.getresponse()
        self.assertEqual((resp.status, resp.getheader("Content-Length")), (200, None))
        for _ in range(3):  # a second's worth, and more after it
            self.assertEqual(len(resp.read(200)), 200)
        conn.close()

    def test_redirects_and_cookies(self):
        self.config({"redirect_home": True, "redirect_articles": 2, "require_cookie": True})
        resp, _ = self.get("/Ann")
        self.assertEqual((resp.status, resp.getheader("Location")), (302, "home/Ann"))
        resp, _ = self.get("/home/Ann")
        cookie = resp.getheader("Set-Cookie").split(";")[0]
        self.assertEqual(self.get("/s/blog_1003.html")[0].status, 403)
        hops = []
        path = "/s/blog_1003.html"
        while True:
            resp, body = self.get(path, {"Cookie": cookie})
            if resp.status != 301:
                break
            path = resp.getheader("Location").split(str(self.port), 1)[1]
            hops.append(path)
        self.assertEqual(resp.status, 200)
        self.assertEqual(len(hops), 2)

    def test_every_request_is_logged_with_its_headers(self):
        self.get("/brenlow", {"Referer": "http://127.0.0.1/brenlow?key=QuillvaultBackUp"})
        self.get("/s/blog_%E6%96%87.html")
        log = json.loads(self.get("/_ctl/log")[1])
        self.assertEqual([e["target"] for e in log], ["/brenlow", "/s/blog_%E6%96%87.html"])
        self.assertIn(["Referer", "http://127.0.0.1/brenlow?key=QuillvaultBackUp"], log[0]["headers"])


if __name__ == "__main__":
    unittest.main()
