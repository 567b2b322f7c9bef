# Two entry points: `make run` and `make test`. Each first installs whatever
# Debian packages are missing, then configures and builds.

PACKAGES := g++ cmake make libgtest-dev qt6-base-dev qt6-translations-l10n
BUILD_DIR := build
TEST_DIR := build-test
# The Release tree `make test` builds with warnings as errors: warnings that
# appear only with optimisation are caught before a user's `make run` sees them.
CHECK_DIR := build-release
FUZZ_DIR := build-fuzz
FUZZ_PACKAGES := clang libclang-rt-14-dev cmake make
# Seconds per fuzz target; two targets run at a time.
FUZZ_TIME ?= 600
JOBS := $(shell nproc)

.PHONY: run test deps build fuzz clean

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=""; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; \
	  $$SUDO env DEBIAN_FRONTEND=noninteractive apt-get update && \
	  $$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF -DVELMORA_WERROR=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The editor runs in its program folder, beside its data and workspace.
run: build
	cd $(BUILD_DIR)/VelmoraEd && ./VelmoraEd

test: deps
	cmake -S . -B $(CHECK_DIR) -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF -DVELMORA_WERROR=ON
	cmake --build $(CHECK_DIR) -j $(JOBS)
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_TESTS=ON -DVELMORA_WERROR=ON
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

# libFuzzer targets of the world readers (clang++, ASan+UBSan), then each run
# for FUZZ_TIME seconds; logs, corpora and crashers go to $(FUZZ_DIR)/.
fuzz:
	@$(MAKE) --no-print-directory deps PACKAGES="$(FUZZ_PACKAGES)"
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DVELMORA_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	sh fuzz/run.sh $(FUZZ_DIR) $(FUZZ_TIME)

clean:
	rm -rf $(BUILD_DIR) $(TEST_DIR) $(CHECK_DIR) $(FUZZ_DIR)
