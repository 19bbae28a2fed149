# The two commands a newcomer needs: `make run` and `make test`; `make check` is the quick tier.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: update-po run check test test-format test-normal test-sanitize test-fuzz build build-game build-sanitize deps bench clean

run: build-game
	cd $(BUILD_DIR) && ./kestrovane

# Playing installs and builds only what the game needs; testing and benchmarking add the test packages and
# require GoogleTest (so the tests can never be skipped silently). Prerequisites inherit these settings. Only
# the browser build and its tests install emscripten and fetch SDL's sources (web_build below); the format
# stage installs clang-format alone, in its own recipe.
test test-normal test-sanitize test-fuzz build-sanitize bench test-web build-web-test: DEPS_SET = --test
check: DEPS_SET = --check
test test-normal check: CONFIGURE_FLAGS = -DKES_TESTS=ON
bench: CONFIGURE_FLAGS = -DKES_TESTS=ON -DKES_BENCH=ON

# Everything, in stages: the format check, the normal build and its tests (unit, scenario and real-window
# tests), then one clang build with AddressSanitizer and UndefinedBehaviorSanitizer that runs the same
# tests plus a long soak, and every fuzz target of that build for a short bounded time.
SAN_DIR ?= build-san
SOAK_UPDATES ?= 60000
FUZZ_SECONDS ?= 12
# The real game runs without OpenGL here (no GL library to load, software renderer, plain X11
# framebuffer): Mesa's driver is unloaded before the leak report, so its own leaks could not be told
# apart from the game's (see tests/e2e/lsan.supp).
SAN_ENV = ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/e2e/lsan.supp:print_suppressions=0 \
	SDL_OPENGL_LIBRARY=/nonexistent/libGL.so.1 SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0

# The real-window tests spend most of their time waiting for the display, so CTest runs one job more
# than there are cores.
TEST_JOBS ?= $(shell echo $$(( $(JOBS) + 1 )))

# The player's files in the build folder (where `make run` plays), every one named kesv.*, must come through
# every stage byte for byte; the folders where a stray write would land (those the tests and fuzz targets
# start in) are watched as well, so a test that writes outside its scratch folder fails `make test` and
# `make check`.
SETTINGS_GUARD = bash tools/settings-guard.sh
GUARDED_FOLDERS = $(BUILD_DIR) $(SAN_DIR) .

# Stages overlap where one of them mostly waits: the normal tests (paced by the real-window ones, which
# run side by side, each on a display of its own) run while the sanitizer build and the browser build
# compile, and the fuzz targets and the browser tests run beside the sanitizer suite (paced by its soak).
# Each stage's output is printed whole when it ends. The soak and the fuzz targets run for a fixed time,
# however busy the cores are. With ccache installed (the test set has it) every build goes through it.
test: test-format build
	$(SETTINGS_GUARD) record $(BUILD_DIR)/settings-guard.txt $(GUARDED_FOLDERS)
	$(MAKE) --no-print-directory -j3 --output-sync=target test-normal build-sanitize build-web-test
	$(MAKE) --no-print-directory -j3 --output-sync=target test-sanitize test-fuzz run-web-tests
	$(SETTINGS_GUARD) compare $(BUILD_DIR)/settings-guard.txt $(GUARDED_FOLDERS)

test-normal: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(TEST_JOBS)

# While working: the normal build and its unit and scenario tests, without the real-window tests.
check: build
	$(SETTINGS_GUARD) record $(BUILD_DIR)/settings-guard.txt $(GUARDED_FOLDERS)
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(TEST_JOBS) -LE e2e
	$(SETTINGS_GUARD) compare $(BUILD_DIR)/settings-guard.txt $(GUARDED_FOLDERS)

test-format:
	bash tools/install-deps.sh --format
	bash tools/check-format.sh

# Optimised lightly with line tables only: with the sanitizers, -O2 -g compiles the tests three times slower.
# clang, so that the same build also makes the libFuzzer targets.
build-sanitize: deps
	cmake -S . -B $(SAN_DIR) -DCMAKE_CXX_COMPILER=clang++ -DKES_SANITIZE=ON -DKES_FUZZ=ON -DKES_TESTS=ON \
		-DKES_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1"
	cmake --build $(SAN_DIR) -j $(JOBS)

# The checks that run none of the game's code (the project's scripts, an old SDL refused at configuration,
# labelled "host") have run in the normal stage; here everything else runs under the sanitizers.
test-sanitize: build-sanitize
	cd $(SAN_DIR) && $(SAN_ENV) KES_SOAK_UPDATES=$(SOAK_UPDATES) ctest --output-on-failure -j $(TEST_JOBS) -LE host

test-fuzz: build-sanitize
	bash fuzz/run.sh $(SAN_DIR)/fuzz $(FUZZ_SECONDS)

# Then the browser build's download size, load time and idle CPU in headless Chromium (bench/web.mjs).
bench: build
	cd $(BUILD_DIR) && bash ../bench/run.sh
	bash tools/install-deps.sh --web-test
	$(web_build)
	cd tests/web && npm ci --no-audit --no-fund --loglevel=error >/dev/null
	node bench/web.mjs

build: deps
	cmake -S . -B $(BUILD_DIR) $(CONFIGURE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Playing builds the game and its content alone: a build folder that also holds the test programs (after
# `make test`) does not build them again for a run.
build-game: deps
	cmake -S . -B $(BUILD_DIR) $(CONFIGURE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kestrovane data

deps:
	bash tools/install-deps.sh $(DEPS_SET)

# The browser build: the game compiled by Debian's emscripten into $(WEB_DIR)/site/ (index.html and the game's
# .js, .wasm and .data), with the content of the desktop build's data/. SDL2, SDL2_image and SDL2_mixer are
# built once from Debian's source packages into a cache outside the clone (tools/web/build-libs.sh).
WEB_DIR ?= build-web
WEB_PORT ?= 8000
# emcc's optimiser needs acorn, which Debian's node-acorn puts where node does not look.
WEB_ENV = NODE_PATH=/usr/share/nodejs
# The page takes its tunes (packed smaller) and icons from the desktop build, built here first.
define web_build
	cmake --build $(BUILD_DIR) -j $(JOBS) --target data icons web_music >/dev/null && \
	mkdir -p $(WEB_DIR) && libs=$$(bash tools/web/build-libs.sh) && \
	$(WEB_ENV) emcmake cmake -S . -B $(WEB_DIR) -DCMAKE_BUILD_TYPE=Release -DKES_WEB_LIBS="$$libs" \
		-DKES_WEB_DATA=$(CURDIR)/$(BUILD_DIR)/data >$(WEB_DIR)/build.log && \
	$(WEB_ENV) cmake --build $(WEB_DIR) -j $(JOBS) >>$(WEB_DIR)/build.log || { cat $(WEB_DIR)/build.log; exit 1; }
endef
.PHONY: web web-data serve-web test-web build-web-test run-web-tests
web: DEPS_SET = --web
web: web-data
	$(web_build)
	@echo "The browser game is in $(WEB_DIR)/site/; 'make serve-web' serves it on 127.0.0.1"

web-data: deps
	cmake -S . -B $(BUILD_DIR) $(CONFIGURE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target data icons web_music

serve-web:
	@test -f $(WEB_DIR)/site/index.html || { echo "no $(WEB_DIR)/site/index.html: run make web first"; exit 1; }
	@echo "Kestrovane in the browser: http://127.0.0.1:$(WEB_PORT)/ (Ctrl+C stops)"
	python3 -m http.server --bind 127.0.0.1 --directory $(WEB_DIR)/site $(WEB_PORT)

# The browser tests: the normal build's data/, the browser build, and a headless Chromium driven by
# tests/web/ (its driver installed from npm as its lock file pins it).
test-web: build-web-test
	$(WEB_TESTS)

# The browser build and the browser tests' driver; run-web-tests runs the tests on what is built. The test
# files run three at a time, each with a browser of its own: they mostly wait for the page.
WEB_TESTS = node --test --test-concurrency=3 tests/web/
build-web-test: build
	bash tools/install-deps.sh --web-test
	$(web_build)
	cd tests/web && npm ci --no-audit --no-fund --loglevel=error >/dev/null

run-web-tests:
	$(WEB_TESTS)

# Installs the game with its launcher, menu entry, icons, AppStream data, manual page and licence under PREFIX
# (DESTDIR is honoured); uninstall removes them again; package builds the Debian package into $(BUILD_DIR)/.
PREFIX ?= /usr/local
.PHONY: install package uninstall
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

package: build
	cd $(BUILD_DIR) && cpack

# Removes every file install puts under PREFIX (with the same DESTDIR), and the game's own folders.
uninstall:
	bash packaging/uninstall.sh $(BUILD_DIR) "$(PREFIX)"

# Every build folder: the normal and sanitizer builds, and any build-<name> made by hand.
clean:
	rm -rf $(BUILD_DIR) $(SAN_DIR) build-*/

# A level of one's own, listed in maps.lst or not: `make level LEVEL=path/to/mine.txt` compiles it with the
# game's legend and tables into $(BUILD_DIR)/levels/ (mine.map, mine_bg.png, mine_col.png, mine.ent), to play
# with `cd $(BUILD_DIR) && ./kestrovane --windowed --level levels/mine.map`.
LEVEL_DIR ?= $(BUILD_DIR)/levels
.PHONY: level
level: build
	@test -n "$(LEVEL)" || { echo "make level LEVEL=path/to/<name>.txt"; exit 2; }
	$(BUILD_DIR)/tools/kescontent --level assets "$(LEVEL)" $(LEVEL_DIR)

# Rewrites docs/levels.md and the level pictures in docs/levels/ after a level or its input changed.
.PHONY: atlas
atlas: deps
	cmake -S . -B $(BUILD_DIR)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target atlas

# The translators' template from the code, the content and the desktop files, and every language's catalogue
# brought up to date with it (new messages empty, changed ones fuzzy, until a translator sees to them).
update-po:
	bash tools/po/update-pot.sh
	for po in po/*.po; do msgmerge --quiet --update --backup=none "$$po" po/kestrovane.pot; done
