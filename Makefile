# The two commands a newcomer needs: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: run test build deps bench clean

run: build
	cd $(BUILD_DIR) && ./kestrovane

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	cd $(BUILD_DIR) && bash ../bench/run.sh

build: deps
	cmake -S . -B $(BUILD_DIR)
	cmake --build $(BUILD_DIR) -j $(JOBS)

deps:
	bash tools/install-deps.sh

clean:
	rm -rf $(BUILD_DIR)
