# make test   install what is missing, build native and both Windows targets, run every test
# make demo   install what is missing, build, and run the main job under Wine
# make dist   build the deliverables into dist/x86 and dist/x64 (stripped; symbols in
#             dist/symbols), zip each folder, and the installer packages dist/Quillset-*.msi
SHELL := /bin/bash
BUILD ?= build
JOBS ?= $(shell nproc)
CONFIGURE = cmake -S . -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release

.PHONY: all deps native x64 x86 dist test demo clean

all: dist

deps:
	@scripts/install-deps

native: deps
	@$(CONFIGURE) -B $(BUILD)/native >/dev/null
	@cmake --build $(BUILD)/native -j $(JOBS)

x64: deps
	@$(CONFIGURE) -B $(BUILD)/x64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x64.cmake -DQUILLSET_DIST_DIR=$(CURDIR)/dist/x64 >/dev/null
	@cmake --build $(BUILD)/x64 -j $(JOBS)

x86: deps
	@$(CONFIGURE) -B $(BUILD)/x86 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86.cmake -DQUILLSET_DIST_DIR=$(CURDIR)/dist/x86 >/dev/null
	@cmake --build $(BUILD)/x86 -j $(JOBS)

DELIVERABLES = Quillset.dll Brenmoor.exe PrinterXP.bat PrinterVista.bat INSTALL.txt

dist: x64 x86
	@for arch in x86 x64; do \
	    rm -f dist/Quillset-$$arch.zip; \
	    (cd dist/$$arch && cmake -E tar cf ../Quillset-$$arch.zip --format=zip $(DELIVERABLES)) || exit 1; \
	    test -f dist/Quillset-$$arch.msi || exit 1; \
	    echo "dist/Quillset-$$arch.zip"; \
	    echo "dist/Quillset-$$arch.msi"; \
	done

test: native x64 x86
	@scripts/run-tests $(BUILD)

demo: x64
	@scripts/demo $(BUILD)/x64

clean:
	rm -rf $(BUILD) dist
