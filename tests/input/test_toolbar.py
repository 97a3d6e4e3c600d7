"""The toolbar's six buttons, a link click, Stop on a page that keeps loading, and the six
shortcut buttons, all by mouse. Outside sites reach the local server as a proxy, so its
log shows the exact address each button asked for."""

import time

import harness as h
import webserver

HOME = "C:\\HOME-PAG\\INIZIO.HTM"

# Command8 0..5: design position, the request the server sees, the caption of the page.
SHORTCUTS = [
    ((45, 495, 465, 195), ("GET", "http://www.tin.it/"), "http:\\\\www.tin.it\\"),
    ((510, 495, 960, 195), ("GET", "http://www.libero.it/"), "http:\\\\www.libero.it\\"),
    ((1470, 495, 580, 195), ("GET", "http://www.tiscali.it/"), "http:\\\\www.tiscali.it\\"),
    ((2055, 495, 750, 195), ("GET", "http://www.ciaoweb.it/"), "http:\\\\www.ciaoweb.it\\"),
    ((2805, 510, 720, 195), ("CONNECT", "www.microsoft.com:443"),
     "https:\\\\www.microsoft.com\\it-it\\wdsi\\defenderupdates"),
    ((3525, 510, 240, 195), ("GET", "http://www.virgilio.it/"), "http:\\\\www.virgilio.it\\"),
]


def scenario():
    with h.Session("toolbar") as s:
        srv = s.server
        _, w = s.start_shown("start on a page with a link", s.web_title("link.htm"), srv.url("link.htm"))

        with s.step("a link click"):
            h.click_page(s, w, 150, 60)
            s.wait_requests("/target.htm", 1)
            s.wait_title_is(w, s.web_title("target.htm"))

        with s.step("Back, Forward"):
            h.click_toolbar(s, w, "Back")
            s.wait_title_is(w, s.web_title("link.htm"))
            h.click_toolbar(s, w, "Forward")
            s.wait_title_is(w, s.web_title("target.htm"))

        with s.step("Refresh asks the server again"):
            before = srv.count("/target.htm")
            h.click_toolbar(s, w, "Refresh")
            s.wait_requests("/target.htm", before + 1)
            s.wait_title_is(w, s.web_title("target.htm"))

        with s.step("Home"):
            h.click_toolbar(s, w, "Home")
            s.wait_title_is(w, HOME)

        with s.step("Search"):
            h.click_toolbar(s, w, "Search")
            s.wait_requests("duckduckgo.com:443", 1, command="CONNECT")
            s.wait_title_is(w, "https:\\\\duckduckgo.com\\")

        with s.step("Stop while a slow page loads"):
            h.type_address(s, w, srv.url("slow.htm"))
            s.wait_requests("/slow.htm", 1)
            s.wait_title_is(w, "Working...")
            started = time.monotonic()
            h.click_toolbar(s, w, "Stop")
            s.wait_title_is(w, s.web_title("slow.htm"), timeout=5)
            h.check(time.monotonic() - started < webserver.SLOW_SECONDS / 2,
                    "the caption came with Stop, not with the end of the page")

        with s.step("the six shortcut buttons"):
            for place, (command, path), caption in SHORTCUTS:
                s.click_design(w, *place)
                s.wait_requests(path, 1, command=command)
                s.wait_title_is(w, caption)


if __name__ == "__main__":
    h.run(scenario)
