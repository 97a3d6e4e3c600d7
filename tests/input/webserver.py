"""The local web server of the real-input suite: a few pages, one that trickles for a long
while, pages behind a Basic login, an attachment, and a proxy stand-in for outside sites;
every request is logged with its Authorization header. The same pages are served over
TLS with a certificate made for the test."""

import base64
import http.server
import select
import socket
import socketserver
import ssl
import subprocess
import threading
import time
import urllib.parse

SLOW_SECONDS = 12
# Pages behind a Basic login, by realm; every one takes this user and password.
LOGINS = {"protetta.htm": "Router", "riservata.htm": "Archivio"}
LOGIN_USER, LOGIN_PASSWORD = "utente", "segreta"
# An outside site that the proxy stand-in lets through only after its own login.
PROXY_LOGIN_HOST = "riservato.example"
ATTACHMENT = b"contenuto dell'allegato\n"


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
        auth = self.headers.get("Authorization") or self.headers.get("Proxy-Authorization")
        with srv.lock:
            srv.requests.append((self.command, self.path))
            srv.auths.append((self.path, auth))
            with open(srv.log_path, "a", encoding="utf-8") as f:
                f.write("%s %s%s\n" % (self.command, self.path, " Authorization: " + auth if auth else ""))

    def do_CONNECT(self):
        # Secure addresses reach us as a proxy request: recorded, then refused, except
        # our own TLS port, which is tunnelled to.
        self._record()
        tls = self.server.tls
        if not tls or self.path != "127.0.0.1:%d" % tls.port:
            return self.send_error(502)
        self.send_response(200, "Connection established")
        self.end_headers()
        with socket.create_connection(("127.0.0.1", tls.port)) as far:
            ends = [self.connection, far]
            while not self.server.closing:
                ready, _, _ = select.select(ends, [], [], 1)
                for r in ready:
                    data = r.recv(65536)
                    if not data:
                        return
                    (far if r is self.connection else self.connection).sendall(data)

    def do_GET(self):
        self._record()
        path = self.path
        if path.startswith("http://%s/" % PROXY_LOGIN_HOST) and not self._logged_in(path, proxy=True):
            return
        if path.startswith("http://"):
            # A proxied request for an outside site: a small page naming it.
            body = "<html><head><title>Sito %s</title></head><body>proxy</body></html>" % path
            return self._send(body)
        if path == "/favicon.ico":
            return self.send_error(404)
        name = path.split("?")[0].lstrip("/")
        if name == "slow.htm":
            return self._slow()
        if name in LOGINS and not self._logged_in(name):
            return
        if name in ("allegato.txt", "molti.txt"):
            saved = "dati.txt" if name == "allegato.txt" else name
            return self._send(ATTACHMENT, "text/plain",
                              [("Content-Disposition", 'attachment; filename="%s"' % saved)])
        if name == "who.htm":
            return self._send("<html><body><script>fetch('/seen?' + encodeURIComponent("
                              "document.cookie.split('; ').filter(Boolean).sort().join('; ')));</script></body></html>")
        if name == "seen":
            return self._seen(path)
        if name in self.server.cookie_pages:
            return self._send("<html><body>ok</body></html>",
                              headers=[("Set-Cookie", c) for c in self.server.cookie_pages[name]])
        page = self.server.pages.get(name)
        if page is None:
            return self.send_error(404)
        self._send(page)

    def _seen(self, path):
        # The cookies the server got, then those who.htm's script could read (no httpOnly ones).
        got = "; ".join(sorted(c.strip() for c in self.headers.get("Cookie", "").split(";") if c.strip()))
        script = urllib.parse.unquote(path.partition("?")[2])
        with self.server.lock:
            self.server.seen.append("Visti [%s] JS [%s]" % (got, script))
        self._send("")

    def _logged_in(self, name, proxy=False):
        right = "Basic " + base64.b64encode(("%s:%s" % (LOGIN_USER, LOGIN_PASSWORD)).encode()).decode()
        if self.headers.get("Proxy-Authorization" if proxy else "Authorization") == right:
            return True
        data = page("Accesso negato", "<p>Accesso negato</p>").encode("utf-8")
        self.send_response(407 if proxy else 401)
        self.send_header("Proxy-Authenticate" if proxy else "WWW-Authenticate",
                         'Basic realm="%s"' % ("Proxy" if proxy else LOGINS[name]))
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)
        return False

    def _send(self, body, content_type="text/html; charset=utf-8", headers=()):
        data = body if isinstance(body, bytes) else body.encode("utf-8")
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        for k, v in headers:
            self.send_header(k, v)
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

    def __init__(self, log_path, certificate=None):
        """certificate: (cert file, key file) to serve TLS."""
        super().__init__(("127.0.0.1", 0), _Handler)
        if certificate:
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(*certificate)
            self.socket = context.wrap_socket(self.socket, server_side=True, do_handshake_on_connect=False)
        self.scheme = "https" if certificate else "http"
        self.tls = None  # the TLS server the proxy tunnels to
        self.lock = threading.Lock()
        self.requests = []
        self.auths = []
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
            "protetta.htm": page("Area riservata", "<p>dentro</p>"),
            "riservata.htm": page("Archivio riservato", "<p>dentro</p>"),
            "video.htm": page("Con video", "<button style='%s' onclick=\"document.documentElement"
                              ".requestFullscreen()\">schermo intero</button>" % BIG),
            # A page that asks for twenty downloads at once.
            "molti.htm": page("Molti", "<script>for (var i = 0; i < 20; ++i) { var a = document.createElement('a');"
                              " a.href = '/molti.txt?' + i; document.body.appendChild(a); a.click(); }</script>"),
            "messaggio.htm": page("Con messaggio",
                                  "<button style='%s' onclick=\"alert('Ciao dalla pagina')\">avvisa</button>" % BIG),
            # A field that takes Escape as a key of its own.
            "form.htm": page("Modulo", "<form action='/cerca'><input name='q' style='%s' onkeydown=\""
                             "if (event.key == 'Escape') this.value += 'esc'\"></form>" % BIG),
            # A word at the top and at the bottom; the page tells the server when it has
            # scrolled down and when its zoom changes.
            "lunga.htm": page("Pagina lunga", "<p>gatto in cima. Testo da stampare.</p>"
                              "<p style='margin-top:4000px'>gatto in fondo</p><script>"
                              "onscroll = function () { if (scrollY > 1000 && !window.down) "
                              "{ window.down = 1; new Image().src = '/scrolled'; } };"
                              "onresize = function () { new Image().src = '/zoom?' + "
                              "Math.round(devicePixelRatio * 100); };"
                              "new Image().src = '/load?' + Math.round(devicePixelRatio * 100);</script>"),
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
        return "%s://127.0.0.1:%d/%s" % (self.scheme, self.port, name)

    def authorizations(self, path):
        with self.lock:
            return [a for p, a in self.auths if p == path]

    def handle_error(self, request, client_address):
        pass  # a refused certificate ends the handshake: not a fault of the server

    def count(self, path, command="GET"):
        with self.lock:
            return sum(1 for c, p in self.requests if c == command and p == path)

    def stop(self):
        self.closing = True
        self.shutdown()
        self.server_close()


def self_signed_certificate(folder):
    """A certificate for 127.0.0.1 that no authority signed, made with openssl."""
    cert, key = folder + "/cert.pem", folder + "/key.pem"
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                    "-days", "2", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    return cert, key
