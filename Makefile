# The two commands a newcomer needs: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: run test test-sanitize test-fuzz build deps bench clean

run: build
	cd $(BUILD_DIR) && ./kestrovane

# Playing installs and builds only what the game needs; testing and benchmarking add the test packages and
# require GoogleTest (so the tests can never be skipped silently). Prerequisites inherit these settings.
test test-sanitize test-fuzz bench: DEPS_SET = --test
test: CONFIGURE_FLAGS = -DKES_TESTS=ON
bench: CONFIGURE_FLAGS = -DKES_TESTS=ON -DKES_BENCH=ON

# Everything: the normal build and its tests (unit, scenario and real-window tests), the same tests built
# with AddressSanitizer and UndefinedBehaviorSanitizer plus a long soak under them, then every fuzz
# target for a short bounded time.
SAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
SOAK_SECONDS ?= 180
FUZZ_SECONDS ?= 12
# The real game runs without OpenGL here (no GL library to load, software renderer, plain X11
# framebuffer): Mesa's driver is unloaded before the leak report, so its own leaks could not be told
# apart from the game's (see tests/e2e/lsan.supp).
SAN_ENV = ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/e2e/lsan.supp:print_suppressions=0 \
	SDL_OPENGL_LIBRARY=/nonexistent/libGL.so.1 SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory test-sanitize test-fuzz

# Optimised lightly with line tables only: with the sanitizers, -O2 -g compiles the tests three times slower.
test-sanitize: deps
	cmake -S . -B $(SAN_DIR) -DKES_SANITIZE=ON -DKES_TESTS=ON -DKES_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1"
	cmake --build $(SAN_DIR) -j $(JOBS)
	cd $(SAN_DIR) && $(SAN_ENV) KES_SOAK_SECONDS=$(SOAK_SECONDS) ctest --output-on-failure -j $(JOBS)

test-fuzz: deps
	CXX=clang++ cmake -S fuzz -B $(FUZZ_DIR)
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	bash fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

bench: build
	cd $(BUILD_DIR) && bash ../bench/run.sh

build: deps
	cmake -S . -B $(BUILD_DIR) $(CONFIGURE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

deps:
	bash tools/install-deps.sh $(DEPS_SET)

# Installs the game with its launcher, menu entry, icons and AppStream data under PREFIX (DESTDIR is
# honoured); package builds the Debian package into $(BUILD_DIR)/.
PREFIX ?= /usr/local
.PHONY: install package
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

package: build
	cd $(BUILD_DIR) && cpack

clean:
	rm -rf $(BUILD_DIR)

# Rewrites docs/levels.md and the level pictures in docs/levels/ after a level or its input changed.
.PHONY: atlas
atlas: deps
	cmake -S . -B $(BUILD_DIR)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target atlas
