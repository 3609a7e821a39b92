# make test   install what is missing, build native and both Windows targets, run every test
# make demo   install what is missing, build, and run the main job under Wine
#             (ARCH=x86: 32-bit PowerPoint's, with 32-bit Wine, through the x64
#             package; PACKAGE=x86 through the x86 package)
# make dist   build the deliverables into dist/x86 and dist/x64 (stripped; symbols in
#             dist/symbols), zip each folder, and the installer packages dist/Quillset-*.msi
# make dist SIGN_PFX=file.pfx SIGN_PASSWORD=... [SIGN_TIMESTAMP=URL]
#             the same, every program and package signed (scripts/sign-dist)
# make screenshots   the README's pictures from a demo run, into docs/
# A stage prints one line and its results; its whole output goes to a log under
# $(BUILD)/logs, named when it fails. V=1 shows the output as it comes as well.
SHELL := /bin/bash
BUILD ?= build
JOBS ?= $(shell nproc)
CONFIGURE = cmake -S . -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release
LOGS = $(BUILD)/logs
STAGE = scripts/stage $(if $(V),--verbose)

.PHONY: all deps native x64 x86 dist test demo screenshots clean

all: dist

deps:
	@$(STAGE) "installing packages" $(LOGS)/deps.log scripts/install-deps

native: deps
	@$(STAGE) "building native" $(LOGS)/native.log $(SHELL) -c '\
	    $(CONFIGURE) -B $(BUILD)/native && \
	    cmake --build $(BUILD)/native -j $(JOBS)'

# The x64 package carries the x86 library, its rows made by the native wix-registry.
x64: deps native x86
	@$(STAGE) "building x64" $(LOGS)/x64.log $(SHELL) -c '\
	    $(CONFIGURE) -B $(BUILD)/x64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x64.cmake -DQUILLSET_DIST_DIR=$(CURDIR)/dist/x64 \
	        -DQUILLSET_X86_LIBRARY=$(abspath $(BUILD))/x86/package/Quillset.dll \
	        -DQUILLSET_WIX_REGISTRY=$(abspath $(BUILD))/native/setup/registry/wix-registry && \
	    cmake --build $(BUILD)/x64 -j $(JOBS)'

x86: deps
	@$(STAGE) "building x86" $(LOGS)/x86.log $(SHELL) -c '\
	    $(CONFIGURE) -B $(BUILD)/x86 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86.cmake -DQUILLSET_DIST_DIR=$(CURDIR)/dist/x86 && \
	    cmake --build $(BUILD)/x86 -j $(JOBS)'

DELIVERABLES = Quillset.dll Brenmoor.exe PrinterXP.bat PrinterVista.bat INSTALL.txt

# scripts/sign-dist takes these from the environment only: a recipe that named
# $(SIGN_PASSWORD) would put the password on a command line, and into the log.
export SIGN_PFX SIGN_PASSWORD SIGN_TIMESTAMP
SIGN_DIST = scripts/sign-dist dist $(BUILD)/x86 $(BUILD)/x64

dist: x64 x86
ifeq ($(SIGN_PFX),)
	@$(SIGN_DIST)
else
	@$(STAGE) --result '^sign-dist: ' signing $(LOGS)/sign.log $(SIGN_DIST)
endif
	@for arch in x86 x64; do \
	    rm -f dist/Quillset-$$arch.zip; \
	    (cd dist/$$arch && cmake -E tar cf ../Quillset-$$arch.zip --format=zip $(DELIVERABLES)) || exit 1; \
	    test -f dist/Quillset-$$arch.msi || exit 1; \
	    echo "dist/Quillset-$$arch.zip"; \
	    echo "dist/Quillset-$$arch.msi"; \
	done

# CTest's closing summary (and the failed tests' names) is the result.
test: native x64 x86
	@$(STAGE) --result '% tests passed, ' testing $(LOGS)/test.log scripts/run-tests $(BUILD)

# ARCH=x86: 32-bit Office's road, in the 32-bit test bed, with the x64 package
# (PACKAGE=x86: the x86 package's).
ARCH ?= x64
PACKAGE ?= x64
demo: $(ARCH) $(PACKAGE)
	@ARCH=$(ARCH) PACKAGE=$(PACKAGE) scripts/demo $(BUILD)/$(ARCH)

screenshots: demo
	@scripts/screenshots $(BUILD)/$(ARCH)/demo docs

clean:
	rm -rf $(BUILD) dist
