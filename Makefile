# Everyday commands: `make run` and `make test`. Also: `make deb`, `make install`, `make uninstall`.
BUILD ?= build
JOBS ?= 2
ARGS ?=
PREFIX ?= $(HOME)/.local
DEMO := $(BUILD)/demo-drive
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build run test test-windows test-asan fuzz deb install install-files uninstall clean

all: build

deps:
	@bash scripts/deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

# Runs on the demo drive: C: is build/demo-drive (made once from examples/, never
# overwritten), the Favorites are the sample ones. ARGS=... opens that address instead.
run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ -z "$$QT_QPA_PLATFORM" ]; then \
	  echo "Nessun display: avvia Lanterna con  xvfb-run -a make run$(if $(ARGS), ARGS='$(ARGS)')"; exit 1; fi
	@[ -d "$(DEMO)" ] || { mkdir -p "$(DEMO)" && cp -R examples/drive/. "$(DEMO)/"; }
	@LANTERNA_DRIVE_C="$(abspath $(DEMO))" \
	 LANTERNA_FAVORITES="$(abspath $(DEMO))/Utenti/demo/Favorites" \
	 $(BUILD)/lanterna $(ARGS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	@if command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v wine >/dev/null; then \
	  $(MAKE) test-windows; else echo "Windows tests skipped: MinGW-w64 or Wine missing"; fi
	@mkdir -p $(BUILD); if echo 'int main(){}' | c++ -x c++ -fsanitize=address,undefined -o $(BUILD)/asan-probe - 2>/dev/null; then \
	  $(MAKE) test-asan ASAN_INPUT=no; \
	  else echo "Sanitizer tests skipped: the compiler cannot build with -fsanitize=address,undefined"; fi

# The Win32 services and their tests, built with MinGW-w64 and run under Wine.
test-windows: deps
	@JOBS=$(JOBS) tests/windows/run $(BUILD)/windows

# The program, the fault driver and the C++ tests built with AddressSanitizer (leaks
# included) and UBSan in $(ASAN_BUILD), then all their tests and the real-input suite
# (`make test` leaves that suite out here: see the README's Reliability section).
# The suite runs on its own after the others: the slower instrumented program
# must not compete with the real-engine tests for the cores.
ASAN_BUILD ?= build-asan
ASAN_INPUT ?= yes
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLANTERNA_SANITIZE=ON \
	  -DLANTERNA_FUZZ_TESTS=OFF >/dev/null
	@cmake --build $(ASAN_BUILD) -j$(JOBS)
	@cd $(ASAN_BUILD) && ctest --output-on-failure -j$(JOBS) -LE input
	@if [ "$(ASAN_INPUT)" = yes ]; then cd $(ASAN_BUILD) && ctest --output-on-failure -L input; fi

# Long fuzz runs, one target after the other: FUZZ_SECONDS each (FUZZ=fuzz_x for one).
# New inputs collect in $(BUILD)/fuzz/corpus, crashes in $(BUILD)/fuzz/artifacts.
FUZZ_SECONDS ?= 180
FUZZ ?= $(basename $(notdir $(wildcard fuzz/fuzz_*.cpp)))
fuzz: deps
	@bash fuzz/build.sh $(BUILD)/fuzz $(JOBS)
	@mkdir -p $(BUILD)/fuzz/logs; for t in $(FUZZ); do echo "== $$t ($(FUZZ_SECONDS) s)"; \
	  log=$(BUILD)/fuzz/logs/$$t.log; \
	  if bash fuzz/run.sh $(BUILD)/fuzz $$t $(FUZZ_SECONDS) >$$log 2>&1; then \
	    grep -E 'DONE|^stat::number_of_executed_units' $$log; \
	  else tail -n 40 $$log; exit 1; fi; done

# The Debian package, from the normal build's program: $(BUILD)/lanterna_<version>_<arch>.deb.
deb: configure
	@cmake --build $(BUILD) -j$(JOBS) --target lanterna
	@bash scripts/make-deb $(BUILD)

# A per-user install by default: the program and LANTERNA.DAT live in
# $(PREFIX)/lib/lanterna, a link on the PATH, a menu entry and an icon.
install: build
	@$(MAKE) install-files PREFIX="$(PREFIX)" BUILD="$(BUILD)"

# The copying alone, from an existing build (the install test uses it).
install-files:
	@install -d "$(PREFIX)/lib/lanterna" "$(PREFIX)/bin" "$(PREFIX)/share/applications" \
	  "$(PREFIX)/share/icons/hicolor/scalable/apps"
	@install -m 755 $(BUILD)/lanterna "$(PREFIX)/lib/lanterna/lanterna"
	@ln -sf "$(PREFIX)/lib/lanterna/lanterna" "$(PREFIX)/bin/lanterna"
	@install -m 644 resources/lanterna.svg "$(PREFIX)/share/icons/hicolor/scalable/apps/lanterna.svg"
	@sed "s|@BIN@|$(PREFIX)/bin/lanterna|" resources/lanterna.desktop.in > "$(PREFIX)/share/applications/lanterna.desktop"
	@command -v update-desktop-database >/dev/null && update-desktop-database -q "$(PREFIX)/share/applications" || true
	@echo "Lanterna installato in $(PREFIX) (avvio: $(PREFIX)/bin/lanterna)"

uninstall:
	@rm -f "$(PREFIX)/bin/lanterna" "$(PREFIX)/share/applications/lanterna.desktop" \
	  "$(PREFIX)/share/icons/hicolor/scalable/apps/lanterna.svg" "$(PREFIX)/lib/lanterna/lanterna"
	@rmdir "$(PREFIX)/lib/lanterna" 2>/dev/null || echo "Lasciata $(PREFIX)/lib/lanterna (contiene LANTERNA.DAT)"
	@echo "Lanterna rimosso da $(PREFIX)"

clean:
	rm -rf $(BUILD)
