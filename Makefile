# Quick start:  make run   (builds and starts the program)
#               make test  (builds and runs every test)
# SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/.

SANITIZE ?= 0
ifeq ($(SANITIZE),1)
BUILD ?= build-asan
CMAKE_ARGS = -DCONTRATTO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
else
BUILD ?= build
CMAKE_ARGS = -DCMAKE_BUILD_TYPE=RelWithDebInfo
endif

.PHONY: build run test bench fuzz clean

build:
	scripts/setup.sh $(BUILD) $(CMAKE_ARGS)

run: build
	$(BUILD)/contratto

test: build
	cd $(BUILD) && ctest --output-on-failure -j $$(nproc)

bench:
	scripts/setup.sh build-bench -DCMAKE_BUILD_TYPE=Release -DCONTRATTO_BENCH=ON -DCONTRATTO_TESTS=OFF
	for b in build-bench/bench/bench_*; do $$b; done

fuzz:
	scripts/fuzz.sh

clean:
	rm -rf build build-asan build-bench build-fuzz
