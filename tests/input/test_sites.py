"""Everyday sites: a script's message box, the page's context menu, a Basic login (wrong,
right, three times wrong, Annulla), an attachment saved beside an older file of its name,
and a self-signed certificate refused and then accepted."""

import base64
import os

import harness as h
import webserver


def opened(s, address):
    """A copy of the program on the address (each site in a window of its own), and its window:
    the new one, since a search by process also finds the other copies' windows."""
    before = set(s.windows("."))
    p = s.start(address)
    h.wait_for(lambda: set(s.windows(".")) - before, 60, "a window of the new copy")
    return p, s.main_window(p, exclude=before)


def login(s, user, password):
    box = s.wait_window("^Autenticazione richiesta$")
    s.activate(box)
    s.type(user)
    s.key("Tab")
    s.type(password)
    s.key("Return")
    # The next question may come at once, under the same title.
    h.wait_for(lambda: box not in s.windows("^Autenticazione richiesta$"), 10, "the login box to close")


def scenario():
    with h.Session("sites") as s:
        srv = s.server
        tls = s.tls_server()
        p = s.start(srv.url("messaggio.htm"))
        w = s.main_window(p)
        s.wait_title_is(w, h.caption(srv.url("messaggio.htm")), 60)

        with s.step("a script's message box is titled with the site"):
            h.click_page(s, w, 150, 60)
            site = "http://127.0.0.1:%d" % srv.port
            s.answer("^%s$" % site, "Return")

        def menus():
            return set(s.x(["xdotool", "search", "--onlyvisible", "--class", "."], check=False).split())

        with s.step("the context menu's Ricarica reloads the page"):
            before = menus()
            h.click_page(s, w, 400, 250, button=3)
            h.wait_for(lambda: menus() - before, 10, "the context menu")
            s.key("r")
            s.wait_requests("/messaggio.htm", 2)
        with s.step("a link's context menu opens it in a new window, pop-ups blocked or not"):
            _, w = opened(s, srv.url("link.htm"))
            s.wait_title_is(w, h.caption(srv.url("link.htm")))
            before = menus()
            h.click_page(s, w, 150, 60, button=3)
            h.wait_for(lambda: menus() - before, 10, "the context menu")
            s.screenshot("context-menu")
            s.key("n")
            s.wait_window("^Arrivo$")

        with s.step("a page's full screen is granted, and Escape leaves it"):
            _, w = opened(s, srv.url("video.htm"))
            s.wait_title_is(w, h.caption(srv.url("video.htm")))
            h.click_page(s, w, 150, 60)
            whole = s.wait_window("^Con video$")
            h.wait_for(lambda: s.geometry(whole)[2:] == (1280, 1024), 10, "the page on the whole screen")
            s.activate(whole)
            s.key("Escape")
            s.wait_no_window("^Con video$")

        right = "Basic " + base64.b64encode(b"utente:segreta").decode()
        with s.step("login: a wrong password asks again, the right one opens the page"):
            _, w = opened(s, srv.url("protetta.htm"))
            login(s, "utente", "sbagliata")
            s.wait_requests("/protetta.htm", 2)
            login(s, "utente", "segreta")
            s.wait_requests("/protetta.htm", 3)
            h.check(srv.authorizations("/protetta.htm")[-1] == right,
                    "the right credentials sent: %r" % srv.authorizations("/protetta.htm"))

        # Another host name: the engine would send the first site's login to its other pages unasked.
        other = "http://localhost:%d/riservata.htm" % srv.port
        with s.step("three wrong logins: the refusal page, and no more requests"):
            _, w = opened(s, other)
            for _ in range(3):
                login(s, "utente", "sbagliata")
            s.wait_requests("/riservata.htm", 4)
            h.stays(lambda: srv.count("/riservata.htm") == 4 and not s.windows("^Autenticazione richiesta$"),
                    2.0, "no fourth question, no fifth request", state=lambda: srv.paths())
            s.wait_title_is(w, h.caption(other))

        with s.step("Annulla: the refusal page at once"):
            opened(s, other)
            s.activate(s.wait_window("^Autenticazione richiesta$"))
            s.key("Escape")
            h.stays(lambda: srv.count("/riservata.htm") == 5 and not s.windows("^Autenticazione richiesta$"),
                    1.5, "no request after Annulla", state=lambda: srv.paths())

        with s.step("a proxy's login"):
            site = "http://%s/pagina.htm" % webserver.PROXY_LOGIN_HOST
            _, w = opened(s, site)
            login(s, "utente", "segreta")
            h.wait_for(lambda: srv.authorizations(site)[-1:] == [right], 20,
                       "the proxy's login sent: %r" % srv.authorizations(site))
            s.wait_title_is(w, h.caption(site))

        with s.step("an attachment gets a name of its own beside an older file"):
            downloads = os.path.join(s.home, "Downloads")
            os.makedirs(downloads, exist_ok=True)
            with open(os.path.join(downloads, "dati.txt"), "wb") as f:
                f.write(b"vecchio")
            opened(s, srv.url("allegato.txt"))
            listed = s.wait_window("^Scaricamenti$")

            def saved():
                with open(os.path.join(downloads, "dati (1).txt"), "rb") as f:
                    return f.read() == webserver.ATTACHMENT
            h.wait_for(saved, 20, "dati (1).txt with the attachment, in %r" % downloads)
            with open(os.path.join(downloads, "dati.txt"), "rb") as f:
                h.check(f.read() == b"vecchio", "the older file is kept")
            s.activate(listed)
            s.key("Escape")
            s.wait_no_window("^Scaricamenti$")

        with s.step("a page asking for twenty downloads gets no more than a few"):
            opened(s, srv.url("molti.htm"))

            def taken():
                return [n for n in os.listdir(downloads) if n.startswith("molti")]
            # The engine itself lets a script have one download without a click; the
            # program's own cap is three at a time: never more.
            h.wait_for(taken, 20, "a download of the page")
            h.stays(lambda: len(taken()) <= 3, 2.0, "no more than three", state=taken)

        with s.step("a self-signed certificate: No (the default) keeps the page away"):
            opened(s, tls.url("a.htm"))
            question = s.wait_window("^Certificato non valido$")
            s.activate(question)
            s.key("Return")
            s.wait_no_window("^Certificato non valido$")
            h.stays(lambda: tls.count("/a.htm") == 0, 1.5, "no request for the refused page")

        with s.step("asked again, Si opens the page"):
            _, w = opened(s, tls.url("a.htm"))
            s.activate(s.wait_window("^Certificato non valido$"))
            s.key("alt+s")
            h.wait_for(lambda: tls.count("/a.htm") >= 1, 20, "the page over TLS")
            s.wait_title_is(w, h.caption(tls.url("a.htm")))


if __name__ == "__main__":
    h.run(scenario)
