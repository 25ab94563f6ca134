# make run       - build everything and play the demo world
# make web-run   - build the web edition and play it in Chromium
# make test      - build everything and run every test tier
# make test-all  - the same, and the Windows tests of the 32-bit edition too
# All first install what is missing (apt packages, the locales, the Wine
# prefix). Other targets: build, win32 (the 32-bit edition: game, tools and
# Windows tests), data, dist, docs, bench, fuzz, soak, mutants, format, clean.
# make fuzz [FUZZ_SECONDS=60] [FUZZ_TARGETS="lzss bmp"] runs the fuzzers.

BUILD_DIR ?= $(CURDIR)/build
NATIVE := $(BUILD_DIR)/native
WIN := $(BUILD_DIR)/win
WIN32 := $(BUILD_DIR)/win32
BENCH := $(BUILD_DIR)/bench
FUZZ := $(BUILD_DIR)/fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=
JOBS ?= 2
export BUILD_DIR

.PHONY: all run test web web-run test-all build native art win win32 win32-game win32-config data dist docs bench fuzz fuzz-build soak mutants deps format clean

all: build data

deps:
	@scripts/install-deps.sh

native: deps
	@test -f $(NATIVE)/CMakeCache.txt || cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug \
		-DVELMORA_SANITIZE=ON >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS) -- --no-print-directory -s

# The program's resource art (icon, cursor, bitmaps) is made by a native tool.
art: native
	@$(NATIVE)/tools/velgen res/art.txt $(BUILD_DIR)/res-art

win: deps art
	@test -f $(WIN)/CMakeCache.txt || cmake -S . -B $(WIN) -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
		-DVELMORA_RES_ART_DIR=$(BUILD_DIR)/res-art >/dev/null
	@cmake --build $(WIN) -j $(JOBS) -- --no-print-directory -s

# The 32-bit edition: the same sources for i686. `win32` builds all of it;
# the release and its end-to-end test need only the game.
win32-config: deps art
	@test -f $(WIN32)/CMakeCache.txt || cmake -S . -B $(WIN32) -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-i686.cmake \
		-DVELMORA_RES_ART_DIR=$(BUILD_DIR)/res-art >/dev/null

win32: win32-config
	@cmake --build $(WIN32) -j $(JOBS) -- --no-print-directory -s

win32-game: win32-config
	@cmake --build $(WIN32) -j $(JOBS) --target velmora -- --no-print-directory -s

build: native win

data: native
	@scripts/build-data.sh

# The web edition: build/web, a folder of static files; `make web-run` serves
# it on 127.0.0.1 and opens it in Chromium (headless without a display: it
# writes screenshots of the title and the browser).
web: native art data
	@JOBS=$(JOBS) scripts/build-web.sh

web-run: web
	@scripts/run-web.sh

# The players' release: build/dist/velmora-VERSION-win32.zip and -win64.zip.
dist: build win32-game data
	@scripts/dist.sh

# The demo world's map for the README, drawn by Graphviz.
docs: data
	@mkdir -p docs
	@$(NATIVE)/tools/velarc map $(BUILD_DIR)/game docs/world-map.png

# The fuzz targets: clang with libFuzzer, on their own copy of the core.
fuzz-build: deps
	@test -f $(FUZZ)/CMakeCache.txt || cmake -S . -B $(FUZZ) -DVELMORA_FUZZ=ON \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS) -- --no-print-directory -s

fuzz: fuzz-build data
	@scripts/fuzz.sh run $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# The tests build the fuzz targets themselves, beside the tiers that wait on Wine.
test: build win32-game data web
	@scripts/run-tests.sh

# The 32-bit edition's Windows tests take a build of their own: only here.
test-all: build win32 data web
	@VELMORA_TEST_WIN32=1 scripts/run-tests.sh

# The real program under random use and kills: make soak [SOAK_MINUTES=10]
# [SOAK_UNWRITABLE_WINDOWS=1] (the saves then go to the player's own folder).
soak: build data
	@. scripts/wine-env.sh && ensure_wine_prefix >/dev/null 2>&1
	@scripts/with-display.sh tests/soak/soak.sh

run: build data
	@scripts/run-game.sh

# The Windows benchmarks run in the demo world's folder: the title screen's
# pictures are there.
bench: deps data
	@test -f $(BENCH)/CMakeCache.txt || cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release \
		-DVELMORA_BENCH=ON >/dev/null
	@cmake --build $(BENCH) -j $(JOBS) -- --no-print-directory -s
	@VELMORA_WORLD=$(BUILD_DIR)/game $(BENCH)/tests/bench/velmora_bench
	@$(MAKE) --no-print-directory win
	@cmake --build $(WIN) -j $(JOBS) --target velmora_page_bench velmora_title_bench \
		velmora_scene_bench -- --no-print-directory -s
	@echo "== page rendering on GDI, under Wine"
	@. scripts/wine-env.sh && ensure_wine_prefix >/dev/null 2>&1 && wine $(WIN)/tests/bench/win/velmora_page_bench.exe
	@echo "== the title screen's fades on GDI, under Wine, on a virtual screen"
	@cd $(BUILD_DIR)/game && $(CURDIR)/scripts/with-display.sh wine $(WIN)/tests/bench/win/velmora_title_bench.exe
	@echo "== the message window's fade step and typewriter tick, under Wine on a virtual screen"
	@scripts/with-display.sh wine $(WIN)/tests/bench/win/velmora_scene_bench.exe
	@$(MAKE) --no-print-directory web
	@test -d tests/web/node_modules/playwright-core || npm ci --prefix tests/web --no-audit --no-fund >/dev/null
	@echo "== the web edition in Chromium"
	@node tests/bench/web/bench.mjs

# How much of the core the unit tests check: faults planted into the core
# lines this branch changed (or MUTANTS_ARGS="--files src/core/game/Scene.cpp").
MUTANTS ?= $(CURDIR)/../shared/tools/mutants
MUTANTS_ARGS ?=
mutants: native data
	@test -x "$(MUTANTS)" || { echo "mutants: no mutation tool at $(MUTANTS) (set MUTANTS=)"; exit 2; }
	@"$(MUTANTS)" --jobs $(JOBS) $(MUTANTS_ARGS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)
