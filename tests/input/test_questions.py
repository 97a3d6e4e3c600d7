"""The two switches: "Elimina Win PopUp" (a page's window.open blocked or let through) and
"Elimina domande" (the question before a navigation: Annulla keeps the page, OK goes on
and the page is listed, as LANTERNA.DAT shows after closing)."""

import os

import harness as h


def scenario():
    with h.Session("questions") as s:
        srv = s.server
        p, w = s.start_shown("start on a page that opens a window", s.web_title("popup.htm"),
                             srv.url("popup.htm"))

        with s.step("Elimina Win PopUp ticked: no pop-up"):
            # The later requests below show that this click asked for none.
            h.click_page(s, w, 150, 60)

        with s.step("Elimina Win PopUp unticked: the pop-up opens"):
            h.click_main(s, w, "Check2")
            h.click_page(s, w, 150, 60)
            pop = s.wait_window("^Finestra pop$")
            s.wait_requests("/pop.htm", 1)
            # A window the window manager has only just taken in may miss its first Alt+F4
            # (seen 2 runs in 10 under load); a second one is what a user would press too.
            for attempt in range(2):
                s.activate(pop)
                s.key("alt+F4")
                try:
                    s.wait_no_window("^Finestra pop$", 5)
                    break
                except h.StepFailed:
                    if attempt:
                        raise
            h.check(p.poll() is None, "the main window stays")

        with s.step("Elimina domande unticked: Annulla keeps the page"):
            h.type_address(s, w, srv.url("link.htm"))
            s.wait_title_is(w, s.web_title("link.htm"))
            h.check(srv.count("/pop.htm") == 1 and not s.windows("^Finestra pop$"),
                    "the blocked pop-up was never asked for: requests %r" % srv.paths())
            h.click_main(s, w, "Check1")
            h.click_page(s, w, 150, 60)
            s.answer("^Apre nella stessa finestra$", "Escape")
            s.wait_title_is(w, s.web_title("link.htm"), timeout=5)

        with s.step("the same link, OK: the page loads"):
            h.click_page(s, w, 150, 60)
            # The second question comes after the first navigation was settled.
            s.wait_window("^Apre nella stessa finestra$")
            h.check(srv.count("/target.htm") == 0, "no request for the refused page: %r" % srv.paths())
            h.check(s.title(w) == s.web_title("link.htm"), "the refused navigation leaves the caption alone")
            s.answer("^Apre nella stessa finestra$", "Return")
            s.wait_requests("/target.htm", 1)
            s.wait_title_is(w, s.web_title("target.htm"))

        with s.step("closing keeps the page accepted after a question"):
            s.activate(w)
            s.key("alt+F4")
            s.answer("^Chiusura Lanterna$", "alt+s")
            h.wait_for(lambda: p.poll() is not None, 20, "the program to end")
            with open(os.path.join(s.prog, "LANTERNA.DAT"), "rb") as f:
                lines = f.read().decode("cp1252").splitlines()
            h.check(srv.url("link.htm") in lines, "link.htm in LANTERNA.DAT %r" % lines)
            h.check(srv.url("target.htm") in lines,
                    "the page accepted after a refused navigation is logged: %r" % lines)


if __name__ == "__main__":
    h.run(scenario)
