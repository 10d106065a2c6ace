# Front door of the build. `make` builds the programs into build/bin and the
# runtime data tree into build/game, without the tests; `make test` builds a
# sanitizer tree with the tests in build/asan and runs them through CTest.
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja

.PHONY: all deps build run test bench clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build -j $(JOBS)

run: build
	@if [ -x build/bin/Brellox ]; then \
	  cd build/game && ../bin/Brellox; \
	else \
	  echo "The game program is not built yet: there is no game to start."; \
	fi

test: deps
	cmake -S . -B build/asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DBRELLOX_SANITIZE=ON -DBRELLOX_BUILD_TESTS=ON
	cmake --build build/asan -j $(JOBS)
	cd build/asan && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy EGL_PLATFORM=surfaceless ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build build -j $(JOBS) -t benchmarks
	@for b in build/bin/bench_*; do [ -x "$$b" ] && (cd build/game && "../../$$b"); done; true

clean:
	rm -rf build
