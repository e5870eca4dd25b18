# Entry points for people and CI. Each target installs what is missing first.
.PHONY: demo demo-japanese dist screenshots build test test-docs test-native test-asan test-tsan test-fuzz test-native32 test-win32 test-win64 fuzz bench soak deps clean

CMAKE_JOBS ?= 2

deps:
	@scripts/install-deps

# Both Windows builds, tests included.
build: deps
	@CMAKE_JOBS=$(CMAKE_JOBS) bash -c 'source scripts/lib.sh && build_preset win32 && build_preset win64'

# Under Wine and Xvfb: the closer switched on from the menu closes an advertisement, then off.
# Builds only the plug-in and the tools, 32-bit where this machine runs 32-bit programs.
demo: deps
	@scripts/demo

# The same demo on a Japanese system: Wine in code page 932, a Japanese rule and titles.
demo-japanese: deps
	@scripts/demo --japanese

# The release: dist/lunet/, dist/lunet-VERSION.zip and dist/SHA256SUMS.
dist: deps
	@scripts/make-dist

# The rule editor's pictures in docs/, in English and Japanese, taken under Wine.
screenshots: deps
	@scripts/install-deps screenshots
	@scripts/take-screenshots

test: deps
	@scripts/run-tests

test-docs test-native test-asan test-tsan test-fuzz test-native32 test-win32 test-win64: deps
	@scripts/run-tests $(@:test-%=%)

# Each fuzz target for FUZZ_SECONDS (default 60), one after the other: FUZZ_SECONDS=600 make fuzz
fuzz: deps
	@fuzz/run

# Benchmarks, natively and under Wine, printed as one table (docs/performance.md keeps the last).
bench: deps
	@scripts/install-deps plot
	@scripts/run-bench

# The closer held under load under Wine for SOAK_MINUTES (default 10): SOAK_MINUTES=1 make soak
soak: deps
	@scripts/install-deps plot
	@scripts/run-soak

clean:
	rm -rf build dist
