"""Sites remember the user: cookies kept across runs and shared by copies running at once
(the first holds the profile, a later one takes its cookies and hands back its own), a
killed copy leaves a store the next start opens, and "Cancella cookie e dati dei siti" and
`--privato` send no stored cookie. The local server's who.htm tells the server the cookies
it got, then those a page script sees (httpOnly ones are not among them)."""

import os
import signal

import harness as h

ALL = "Visti [hsid=h1; sid=abc; tab=s1] JS [sid=abc; tab=s1]"
BOTH = "Visti [bcopia=2; hsid=h1; sid=abc; tab=s1] JS [bcopia=2; sid=abc; tab=s1]"
KEPT = "Visti [bcopia=2; hsid=h1; sid=abc] JS [bcopia=2; sid=abc]"
NONE = "Visti [] JS []"


def scenario():
    with h.Session("profile") as s:
        srv = s.server
        journal = os.path.join(s.home, "data", "lanterna", "profile", "cookies.txt")

        def journal_has(word):
            with open(journal, "rb") as f:
                return word in f.read()

        def seen(before, expected):
            h.wait_for(lambda: len(srv.seen) > before, 60, "who.htm to report")
            h.check(srv.seen[-1] == expected, "who.htm saw %r, not %r" % (srv.seen[-1], expected))

        def start(*args, expect=None):
            before = len(srv.seen)
            p = s.start(*args)
            w = s.main_window(p)
            if args[0].startswith("http"):
                # Its first page is complete: typing in the address box is safe from here.
                s.wait_title_is(w, h.caption(args[0]), 60)
            if expect:
                seen(before, expect)
            return p, w

        def visit(w, name, expect=None):
            before = len(srv.seen)
            h.type_address(s, w, srv.url(name))
            if expect:
                seen(before, expect)

        def close(p, w):
            s.activate(w)
            s.key("alt+F4")
            h.wait_for(lambda: p.poll() is not None or s.windows("^Chiusura Lanterna$"), 20, "the program to close")
            if p.poll() is None:
                box = s.wait_window("^Chiusura Lanterna$")
                s.activate(box)
                s.key("alt+n")
            h.wait_for(lambda: p.poll() is not None, 20, "the program to end")

        def alone(*copies):
            """The copies run, and no window but theirs shows: none reports an error."""
            h.check(all(p.poll() is None for p in copies), "the copies run")
            titles = [s.title(w) for w in s.managed()]
            h.check(all(t.startswith("http:") for t in titles), "no error box: %r" % titles)

        with s.step("a login in the first copy"):
            a, wa = start(srv.url("login.htm"))
            h.wait_for(lambda: journal_has(b" sid "), 30, "the login in the journal")
            visit(wa, "who.htm", ALL)

        with s.step("copies started afterwards send it, and hand back their own"):
            b, wb = start(srv.url("login2.htm"))
            s.wait_requests("/login2.htm", 1)
            h.wait_for(lambda: journal_has(b" bcopia "), 30, "the second copy's cookie in the journal")
            c, wc = start(srv.url("who.htm"), expect=BOTH)
            alone(a, b, c)
            close(b, wb)
            close(c, wc)
            visit(wa, "who.htm", BOTH)

        with s.step("a killed holder leaves a store the next start opens"):
            os.kill(a.pid, signal.SIGKILL)
            h.wait_for(lambda: a.poll() is not None, 20, "the killed copy to end")
            c, wc = start(srv.url("who.htm"), expect=KEPT)  # the session's own cookie ended with it
            alone(c)

        with s.step("kept after a plain restart"):
            close(c, wc)
            d, wd = start(srv.url("who.htm"), expect=KEPT)

        with s.step("--privato sends no stored cookie"):
            # Its home page goes on to who.htm by itself.
            with open(os.path.join(s.drive, "HOME-PAG", "INIZIO.HTM"), "w") as f:
                f.write("<meta http-equiv='refresh' content='0; url=%s'>" % srv.url("who.htm"))
            written = os.stat(journal).st_mtime_ns
            e, we = start("--privato", expect=NONE)
            close(e, we)
            h.check(os.stat(journal).st_mtime_ns == written, "the private copy wrote no cookie")
            h.check(not os.listdir(os.path.join(os.path.dirname(journal), "handback")), "nor handed any back")

        with s.step("Cancella cookie e dati dei siti, after Sì"):
            s.activate(wd)
            s.key("ctrl+shift+Delete")
            s.answer("^Cancella cookie e dati dei siti$", "alt+s")
            visit(wd, "who.htm", NONE)
            close(d, wd)
            start(srv.url("who.htm"), expect=NONE)


if __name__ == "__main__":
    h.run(scenario)
