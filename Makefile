# The two everyday commands: `make run` and `make test`.
BUILD ?= build
JOBS ?= 2
ARGS ?=

.PHONY: all deps configure build run test clean

all: build

deps:
	@bash scripts/deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@$(BUILD)/lanterna $(ARGS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

clean:
	rm -rf $(BUILD)
