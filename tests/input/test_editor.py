"""The Favorites viewer (a shortcut, Open Site in the main window) and the page editor:
a caption with its colour from the picker, the link window's "..." cancelled, a background
thumbnail; each change checked in the page file's bytes."""

import os
import shutil

import harness as h

HOME = "C:\\HOME-PAG\\INIZIO.HTM"
MENU = "^Menu possibili modifiche$"
CAPTION = "^Creazione di una nuova scritta$"
LINK = "^Creazione collegamento ad altra pagina .HTML $"
PICKER = "^RICERCA COLORE DESIDERATO  RGB\\(R,G,B\\)$"
BACKGROUND = "^Selezione colore di sfondo della pagina$"


def read_lines(path):
    with open(path, "rb") as f:
        data = f.read()
    return data, data.split(b"\r\n")


def open_menu(s, w):
    h.click_main(s, w, "Command1")
    return s.wait_window(MENU)


def scenario():
    with h.Session("editor") as s:
        srv = s.server
        # One shortcut in the Favorites; one sample picture beside the home page.
        shutil.rmtree(s.favorites)
        os.makedirs(s.favorites)
        with open(os.path.join(s.favorites, "Pagina C.url"), "w") as f:
            f.write("[InternetShortcut]\r\nURL=%s\r\n" % srv.url("c.htm"))
        folder = os.path.join(s.drive, "HOME-PAG")
        for name in ("SF01.JPG", "SF03.JPG"):
            os.remove(os.path.join(folder, name))
        page = os.path.join(folder, "INIZIO.HTM")

        p, w = s.start_shown("the home page at start", HOME)

        with s.step("Favorites: a shortcut, Open Site loads it here"):
            h.click_main(s, w, "Command3")
            fav = s.wait_window("^Internet Preferiti$")
            s.activate(fav)
            # The tree starts at 270 twips; the shortcut is its second row.
            s.click_design(fav, 45, 270, 0, 0, dx=95, dy=28)
            h.wait_for(lambda: len(s.windows(".", p.pid)) >= 3, 10, "the shortcut's menu")
            s.key("Down")
            s.key("Return")  # "Open Site", the menu's first item
            s.wait_requests("/c.htm", 1)
            s.wait_title_is(w, s.web_title("c.htm"))
            s.wait_no_window("^Internet Preferiti$")
            h.click_toolbar(s, w, "Home")
            s.wait_title_is(w, HOME)

        with s.step("Crea una scritta, its colour from the picker: the page gains the block"):
            before, old_lines = read_lines(page)
            menu = open_menu(s, w)
            s.click_design(menu, 240, 780, 4080, 495)  # "Crea una scritta"
            form = s.wait_window(CAPTION)
            s.click_design(form, 1800, 120, 5820, 315)  # Text1
            s.type("Ciao dal test")
            s.click_design(form, 5280, 2430, 450, 315)  # "..." of the text colour
            picker = s.wait_window(PICKER)
            s.click_design(picker, 390, 720, 255, 2460, dy=8)  # red's upper arrow: 200 - 10
            s.click_design(picker, 2880, 3300, 1560, 435)  # "Conferma"
            s.wait_no_window(PICKER)
            s.click_design(form, 4440, 3720, 1500, 435)  # "Conferma"
            s.wait_no_window(CAPTION)
            block = b'<H2><p align="left"><font color="#BE56F2">Ciao dal test</font></p></H2>'
            marker = next(i for i, line in enumerate(old_lines) if b"/BODY" in line.upper())
            expected = old_lines[:marker + 1] + [block] + old_lines[marker + 1:]
            _, new_lines = read_lines(page)
            h.check(new_lines == expected, "the page with exactly the block: %r" % new_lines)
            with open(page[:-1] + "_", "rb") as f:
                h.check(f.read() == before, "the backup holds the page as it was")

        with s.step("the link window: '...' cancelled, then Annulla writes nothing"):
            after_caption = read_lines(page)[0]
            s.activate(menu)
            s.click_design(menu, 240, 1380, 4080, 495)  # "Collega un'altra pagina"
            link = s.wait_window(LINK)
            known = set(s.windows("."))
            s.click_design(link, 7170, 540, 450, 315)  # "..."
            dialog = h.wait_for(lambda: [x for x in s.windows(".") if x not in known], 10, "the file dialog")[0]
            s.activate(dialog)
            s.key("Escape")
            h.wait_for(lambda: dialog not in s.windows("."), 10, "the file dialog to close")
            h.check(s.windows(LINK), "the link window stays open")
            s.click_design(link, 6120, 3840, 1500, 435)  # "Annulla"
            s.wait_no_window(LINK)
            h.check(read_lines(page)[0] == after_caption, "the page is unchanged")

        with s.step("a background thumbnail"):
            s.activate(menu)
            s.click_design(menu, 240, 180, 4080, 495)  # "Modifica sfondo della pagina"
            form1 = s.wait_window(BACKGROUND)
            s.click_design(form1, 120, 120, 480, 2400)  # the first sample: SF02.JPG
            s.wait_no_window(BACKGROUND)
            _, lines = read_lines(page)
            body = [line for line in lines if line.startswith(b"<BODY")]
            h.check(body == [b'<BODY background="file:///C:\\HOME-PAG\\SF02.JPG" text="#202020" link="#003399">'],
                    "the new background: %r" % body)
            h.check(len(lines) == len(read_lines(page[:-1] + "_")[1]), "no line added or lost")


if __name__ == "__main__":
    h.run(scenario)
