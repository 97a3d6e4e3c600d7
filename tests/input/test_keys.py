"""The browser window's keys, typed for real: the address box keys, Back and Forward,
Refresh, Escape while loading and in a page's field, zoom, find, print to PDF, a new
copy and full screen. Checked from outside: the server's log (the pages themselves
report scrolling and zoom), titles, the PDF's text, the process table, the geometry."""

import glob
import os
import subprocess
import time

import harness as h
import webserver


def scenario():
    with h.Session("keys") as s:
        srv = s.server
        p = s.start(srv.url("a.htm"))
        with s.step("start"):
            w = s.main_window(p)
            s.wait_title_is(w, s.web_title("a.htm"), 60)

        with s.step("Ctrl+L, Alt+D and F6 select the whole address: typing replaces it"):
            # A new point each time: a pointer already in place never reports its move.
            for i, (keys, name) in enumerate((("ctrl+l", "b.htm"), ("alt+d", "c.htm"), ("F6", "lunga.htm"))):
                h.click_page(s, w, 100 + 20 * i, 60)
                s.key(keys)
                s.type(srv.url(name))
                s.key("Return")
                s.wait_requests("/" + name, 1)
                s.wait_title_is(w, s.web_title(name))

        with s.step("Alt+Left, Alt+Right"):
            s.key("alt+Left")
            s.wait_title_is(w, s.web_title("c.htm"))
            s.key("alt+Right")
            s.wait_title_is(w, s.web_title("lunga.htm"))

        with s.step("F5 and Ctrl+R ask the server again"):
            for keys in ("F5", "ctrl+r"):
                before = srv.count("/lunga.htm")
                s.key(keys)
                s.wait_requests("/lunga.htm", before + 1)
                s.wait_title_is(w, s.web_title("lunga.htm"))

        with s.step("Ctrl+plus, Ctrl+minus, Ctrl+wheel, Ctrl+0"):
            h.click_page(s, w, 200, 60)
            s.key("ctrl+plus")
            s.wait_requests("/zoom?110", 1)
            s.key("ctrl+minus")
            s.wait_requests("/zoom?100", 1)
            s.xdo("keydown", "ctrl")
            s.xdo("click", 4)
            s.xdo("keyup", "ctrl")
            s.wait_requests("/zoom?110", 2)
            s.key("ctrl+0")
            s.wait_requests("/zoom?100", 2)

        with s.step("the zoom is the window's: it stays on another site and back"):
            s.key("ctrl+plus")
            s.wait_requests("/zoom?110", 3)
            h.type_address(s, w, "http://www.tin.it/")
            s.wait_title_is(w, "http:\\\\www.tin.it\\")
            back = len(srv.paths())
            h.type_address(s, w, srv.url("lunga.htm"))
            # The page tells its zoom when it loads, and again when it changes after.
            told = lambda: [p for p in srv.paths()[back:] if p.startswith(("/load?", "/zoom?"))]
            h.wait_for(lambda: told()[-1:] == ["/load?110"] or told()[-1:] == ["/zoom?110"], 20,
                       "the page back at 110%")

        with s.step("Ctrl+F, then Enter steps to the second match at the bottom"):
            s.key("ctrl+f")
            s.type("gatto")
            s.key("Return")
            s.wait_requests("/scrolled", 1)
            s.key("Escape")

        with s.step("Ctrl+P prints to a PDF file with the page's text"):
            s.key("ctrl+p")
            dialog = s.wait_window("^Stampa$")
            s.activate(dialog)
            s.key("Return")
            pdf = wait_pdf(s)
            h.check(os.path.basename(pdf) == "Pagina lunga.pdf", "the PDF is named after the page: %s" % pdf)
            text = subprocess.run(["pdftotext", pdf, "-"], stdout=subprocess.PIPE, check=True).stdout.decode()
            h.check("Testo da stampare" in text, "the PDF holds the page's text (%r)" % text[:200])

        with s.step("Escape stops a loading page"):
            h.type_address(s, w, srv.url("slow.htm"))
            s.wait_requests("/slow.htm", 1)
            s.wait_title_is(w, "Working...")
            started = time.monotonic()
            s.key("Escape")
            s.wait_title_is(w, s.web_title("slow.htm"), timeout=5)
            h.check(time.monotonic() - started < webserver.SLOW_SECONDS / 2, "Escape stopped the page")

        with s.step("Escape and Backspace in a page's field reach the page"):
            h.type_address(s, w, srv.url("form.htm"))
            s.wait_title_is(w, s.web_title("form.htm"))
            h.click_page(s, w, 220, 60)
            s.type("abcx")
            s.key("BackSpace")
            s.key("Escape")
            s.key("Return")
            s.wait_requests("/cerca?q=abcesc", 1)

        with s.step("Ctrl+N starts a new copy on the page shown"):
            s.wait_title_is(w, s.web_title("cerca?q=abcesc"))
            s.key("ctrl+n")
            wait_for_copy = lambda: [a for _, a in s.program_copies() if a == [srv.url("cerca?q=abcesc")]]
            h.wait_for(wait_for_copy, 20, "a new copy on the page's address")

        with s.step("F11: full screen and back"):
            s.activate(w)
            normal = s.geometry(w)[2:]
            s.key("F11")
            h.wait_for(lambda: s.geometry(w)[2:] == (1280, 1024), 10, "the window to fill the screen")
            s.key("F11")
            h.wait_for(lambda: s.geometry(w)[2:] == normal, 10, "the window back at %s" % (normal,))


def wait_pdf(s):
    pdf = h.wait_for(lambda: next(iter(glob.glob(os.path.join(s.home, "**", "*.pdf"), recursive=True)), None),
                     30, "a PDF in the home folder")
    h.settled(lambda: os.path.getsize(pdf), 10, "the PDF to be written whole")
    return pdf


if __name__ == "__main__":
    h.run(scenario)
