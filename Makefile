# One command to see it run, one to test it; both do all set-up first.
.PHONY: all deps build run test test-asan clean

all: build

deps:
	@scripts/deps.sh

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	scripts/demo.sh

test: build
	@scripts/deps.sh --test
	cmake --preset win32
	cmake --build --preset win32
	ctest --preset default

clean:
	rm -rf build build-asan build-release build-win32 build-fuzz

# The unit, scenario and corpus tests again under AddressSanitizer and UBSan.
test-asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan -L 'unit|scenario|fuzz-corpus'
