# SPDX-License-Identifier: GPL-2.0-or-later
# The two commands of the README: `make test` and `make demo`.
# Both install missing Debian packages, configure and build first.
#   make test              builds and tests BUILD (Qt 6), then BUILD_QT5 (Qt 5:
#                          the desktop layer, the applet and the LXQt plugin)
#   make test-fuzz         builds the libFuzzer targets in BUILD_FUZZ (clang++)
#                          and runs each as a short smoke (part of make test)
#   make demo              the demo with panelhost (Qt 6 build)
#   make demo PANEL=lxqt   the demo with LXQt's lxqt-panel (Qt 5 build)
#   make demo LAPTOP=today the demo on a laptop of today: UPower and
#                          power-profiles-daemon on fake hardware (either panel)
#   make package           Debian packages of both builds, in BUILD/packages
#                          and BUILD_QT5/packages
# Both builds are configured for the prefix /usr, where the packages install.
BUILD     ?= build
BUILD_QT5 ?= build-qt5
BUILD_FUZZ ?= build-fuzz
JOBS      ?= $(shell nproc)
CMAKE_FLAGS ?=
PANEL     ?= panelhost
PREFIX    ?= /usr

.PHONY: all deps configure build configure-qt5 build-qt5 configure-fuzz build-fuzz test test-qt6 \
	test-qt5 test-fuzz demo package clean format

all: build

deps:
	@tools/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

configure-qt5: deps
	cmake -S . -B $(BUILD_QT5) -G Ninja -DOVRA_QT5=ON -DCMAKE_INSTALL_PREFIX=$(PREFIX) \
	    -DOVRA_QT6_BUILD_DIR=$(abspath $(BUILD)) $(CMAKE_FLAGS)

build-qt5: configure-qt5
	cmake --build $(BUILD_QT5) -j $(JOBS)

configure-fuzz: deps
	cmake -S . -B $(BUILD_FUZZ) -G Ninja -DOVRA_FUZZ_BUILD=ON -DCMAKE_CXX_COMPILER=clang++ \
	    $(CMAKE_FLAGS)

build-fuzz: configure-fuzz
	cmake --build $(BUILD_FUZZ) -j $(JOBS) --target fuzz_targets

test-qt6: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-qt5: build-qt5
	cd $(BUILD_QT5) && ctest --output-on-failure -j $(JOBS)

test-fuzz: build-fuzz
	cd $(BUILD_FUZZ) && ctest --output-on-failure -j $(JOBS)

# Every build is tested even when an earlier one has failures.
test:
	@status=0; \
	$(MAKE) --no-print-directory test-qt6 || status=1; \
	$(MAKE) --no-print-directory test-qt5 || status=1; \
	$(MAKE) --no-print-directory test-fuzz || status=1; \
	exit $$status

package: build build-qt5
	cd $(BUILD) && cpack
	cd $(BUILD_QT5) && cpack
	@ls -1 $(BUILD)/packages/*.deb $(BUILD_QT5)/packages/*.deb

LAPTOP ?= design
ifeq ($(PANEL),lxqt)
demo: build-qt5
	laptop/demo --panel lxqt --laptop $(LAPTOP) $(BUILD_QT5)
else
demo: build
	laptop/demo --laptop $(LAPTOP) $(BUILD)
endif

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format-16 -i

clean:
	rm -rf $(BUILD) $(BUILD_QT5) $(BUILD_FUZZ)
