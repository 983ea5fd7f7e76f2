# Entry points: make run, make test, make bench, make fuzz.
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release

.PHONY: all deps build run test bench fuzz asan install deb clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	$(BUILD)/sorvanel $(ARGS)

# PREFIX defaults to /usr/local; DESTDIR stages the install for a package.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package dist/sorvanel_<version>_<arch>.deb, with its .buildinfo
# and .changes, built by debhelper from debian/ in a folder of its own
# (obj-<triplet>, removed by its clean step); the tests run in `make test`.
DEB_VERSION = $(shell dpkg-parsechangelog -S Version)
DEB_ARCH = $(shell dpkg-architecture -qDEB_HOST_ARCH)
DEB_NAME = dist/sorvanel_$(DEB_VERSION)_$(DEB_ARCH)
deb: deps
	@mkdir -p dist
	dpkg-buildpackage -us -uc -b -jauto \
	  --buildinfo-option=-udist --buildinfo-file=$(DEB_NAME).buildinfo \
	  --changes-option=-udist --changes-file=$(DEB_NAME).changes
	@echo "== $(DEB_NAME).deb"

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2

bench: deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) -DSORVANEL_BENCH=ON
	cmake --build $(BUILD)
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $$b || exit 1; done

fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSORVANEL_FUZZ=ON
	cmake --build $(FUZZ_BUILD)
	@mkdir -p $(FUZZ_BUILD)/corpus
	@for f in $(FUZZ_BUILD)/fuzz/*_fuzz; do \
	  n=$$(basename $$f); mkdir -p $(FUZZ_BUILD)/corpus/$$n; \
	  echo "== $$n for $(FUZZ_SECONDS)s"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $(FUZZ_BUILD)/corpus/$$n $$( [ -d fuzz/corpus/$$n ] && echo fuzz/corpus/$$n ) 2>&1 | tail -n 12 || exit 1; \
	done

# The program's own tests (the randomised main-window test among them)
# built with AddressSanitizer and UndefinedBehaviorSanitizer.
ASAN_BUILD ?= build-asan
asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer" \
	  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
	cmake --build $(ASAN_BUILD) --target app_tests
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ./tests/app_tests

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(ASAN_BUILD)
