# Quick start:  make run   (builds and starts the program)
#               make test  (builds and runs every test)
# SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/.
# The program keeps its data file, draft and poster in its own folder, the
# build folder: make clean leaves them there.

SANITIZE ?= 0
ifeq ($(SANITIZE),1)
BUILD ?= build-asan
CMAKE_ARGS = -DCONTRATTO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
else
BUILD ?= build
CMAKE_ARGS = -DCMAKE_BUILD_TYPE=RelWithDebInfo
endif

# The user's files in a build folder: the data file and its lock, the draft,
# the poster, and an output folder chosen there.
USER_FILES = dati2.dat dati2.lock bozza.pdf cartellone.pdf 'Files?Contratto?Tavore'

.PHONY: build run test bench fuzz clean

build:
	scripts/setup.sh $(BUILD) $(CMAKE_ARGS)

# Only the program and its pictures, not the tests and tools.
run:
	scripts/setup.sh --target contratto $(BUILD) $(CMAKE_ARGS)
	$(BUILD)/contratto

test: build
	cd $(BUILD) && ctest --output-on-failure -j $$(nproc)

# Runs the benchmark programs only (the folder holds their bench_*_autogen
# build folders too); the first that fails stops the target.
bench:
	scripts/setup.sh build-bench -DCMAKE_BUILD_TYPE=Release -DCONTRATTO_BENCH=ON -DCONTRATTO_TESTS=OFF
	for b in build-bench/bench/bench_*; do \
	  if [ -f "$$b" ] && [ -x "$$b" ]; then "$$b" || exit 1; fi; \
	done

fuzz:
	scripts/fuzz.sh

clean:
	for d in build build-asan build-bench build-fuzz; do \
	  if [ -d $$d ]; then \
	    find $$d -mindepth 1 -maxdepth 1 $(foreach f,$(USER_FILES),! -name $(f)) -exec rm -rf {} +; \
	    rmdir $$d 2>/dev/null || true; \
	  fi; \
	done
