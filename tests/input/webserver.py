"""The local web server of the real-input suite: a few pages, one that trickles for a long
while, and a proxy stand-in for outside sites; every request is logged."""

import http.server
import socketserver
import threading
import time
import urllib.parse

SLOW_SECONDS = 12


class _Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, fmt, *args):
        pass

    def _record(self):
        srv = self.server
        # Through the proxy, our own pages come with the full address: keep the path.
        own = "http://127.0.0.1:%d/" % srv.port
        if self.path.startswith(own):
            self.path = self.path[len(own) - 1:]
        with srv.lock:
            srv.requests.append((self.command, self.path))
            with open(srv.log_path, "a", encoding="utf-8") as f:
                f.write("%s %s\n" % (self.command, self.path))

    def do_CONNECT(self):
        # Secure addresses reach us as a proxy request: recorded, then refused.
        self._record()
        self.send_error(502)

    def do_GET(self):
        self._record()
        path = self.path
        if path.startswith("http://"):
            # A proxied request for an outside site: a small page naming it.
            body = "<html><head><title>Sito %s</title></head><body>proxy</body></html>" % path
            return self._send(body)
        if path == "/favicon.ico":
            return self.send_error(404)
        name = path.lstrip("/")
        if name == "slow.htm":
            return self._slow()
        if name == "who.htm":
            return self._send("<html><body><script>fetch('/seen?' + encodeURIComponent("
                              "document.cookie.split('; ').filter(Boolean).sort().join('; ')));</script></body></html>")
        if name.startswith("seen?"):
            return self._seen(name)
        if name in self.server.cookie_pages:
            return self._send("<html><body>ok</body></html>", self.server.cookie_pages[name])
        page = self.server.pages.get(name)
        if page is None:
            return self.send_error(404)
        self._send(page)

    def _seen(self, name):
        # The cookies the server got, then those who.htm's script could read (no httpOnly ones).
        got = "; ".join(sorted(c.strip() for c in self.headers.get("Cookie", "").split(";") if c.strip()))
        script = urllib.parse.unquote(name.partition("?")[2])
        with self.server.lock:
            self.server.seen.append("Visti [%s] JS [%s]" % (got, script))
        self._send("")

    def _send(self, body, cookies=()):
        data = body.encode("utf-8")
        self.send_response(200)
        for c in cookies:
            self.send_header("Set-Cookie", c)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(data)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.wfile.write(data)

    def _slow(self):
        # Trickles for a long while, so the page stays loading until stopped.
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        try:
            self.wfile.write(b"<html><head><title>Lenta</title></head><body><p>lenta</p>\n")
            self.wfile.flush()
            end = time.monotonic() + SLOW_SECONDS
            while time.monotonic() < end and not self.server.closing:
                self.wfile.write(b"<!-- " + b"x" * 64 + b" -->\n")
                self.wfile.flush()
                time.sleep(0.2)
            self.wfile.write(b"<p>fine</p></body></html>\n")
        except (BrokenPipeError, ConnectionResetError):
            pass


def page(title, body=""):
    return ("<html><head><title>%s</title></head>"
            "<body style='margin:0'>%s</body></html>" % (title, body))


# A large block at the page's top-left corner: easy to hit with the pointer.
BIG = "display:block;position:absolute;left:0;top:0;width:300px;height:120px;background:#cce"


class WebServer(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, log_path):
        super().__init__(("127.0.0.1", 0), _Handler)
        self.lock = threading.Lock()
        self.requests = []
        self.seen = []  # what who.htm saw, visit by visit
        self.log_path = log_path
        self.closing = False
        self.pages = {
            "a.htm": page("Pagina A", "<p style='margin-top:200px'>A</p>"),
            "b.htm": page("Pagina B", "<p>B</p>"),
            "c.htm": page("Pagina C", "<p>C</p>"),
            "link.htm": page("Con link", "<a id='l' href='/target.htm' style='%s'>vai</a>" % BIG),
            "target.htm": page("Arrivo", "<p>arrivo</p>"),
            "popup.htm": page("Con popup",
                              "<button style='%s' onclick=\"window.open('/pop.htm')\">apri</button>" % BIG),
            "pop.htm": page("Finestra pop", "<p>pop</p>"),
        }
        # Pages that set cookies: a login kept a day, an httpOnly one and one of the session.
        self.cookie_pages = {
            "login.htm": ["sid=abc; Max-Age=86400; Path=/", "hsid=h1; Max-Age=86400; Path=/; HttpOnly",
                          "tab=s1; Path=/"],
            "login2.htm": ["bcopia=2; Max-Age=86400; Path=/"],
        }
        threading.Thread(target=self.serve_forever, daemon=True).start()

    @property
    def port(self):
        return self.server_address[1]

    def paths(self):
        with self.lock:
            return [p for c, p in self.requests]

    def url(self, name):
        return "http://127.0.0.1:%d/%s" % (self.port, name)

    def count(self, path, command="GET"):
        with self.lock:
            return sum(1 for c, p in self.requests if c == command and p == path)

    def stop(self):
        self.closing = True
        self.shutdown()
        self.server_close()
