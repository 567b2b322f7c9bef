# Two entry points: `make run` and `make test`. Each first installs whatever
# Debian packages are missing, then configures and builds.

PACKAGES := g++ cmake make libgtest-dev
BUILD_DIR := build
TEST_DIR := build-test
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
	  $$SUDO apt-get update && $$SUDO DEBIAN_FRONTEND=noninteractive apt-get install -y $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@echo "The editor is not there yet: the world library and worldtool are built in $(BUILD_DIR)/."

test: deps
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_TESTS=ON
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR) $(TEST_DIR)
