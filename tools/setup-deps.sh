#!/usr/bin/env bash
# Installs the Debian packages the project needs. `--run` installs only what building
# and running the programs need (tools/run.sh on a till); without it, also everything
# the tests need: the test frameworks, clang for the sanitizer and fuzz builds, the
# test servers and the npm cross-check packages (tools/test.sh).
# Skips apt entirely when everything is already there (fast, works offline).
set -euo pipefail

SET=test
if [ "${1:-}" = "--run" ]; then SET=run; fi

RUN_PACKAGES=(
  build-essential cmake ninja-build pkg-config python3 lld
  qt6-base-dev libqt6sql6-sqlite qt6-websockets-dev libcpp-httplib-dev
  libinih-dev zlib1g-dev libzip-dev libcurl4-openssl-dev libsqlite3-dev libssl-dev libasound2-dev
  libxml2-dev nlohmann-json3-dev libicu-dev libpugixml-dev
  locales
)
TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev
  python3-fonttools python3-pyftpdlib
  xvfb xauth netcat-openbsd dbus-daemon
  desktop-file-utils libglib2.0-bin dpkg-dev file man-db
  nodejs
  zip unzip
  chromium lintian zsh
  clang clang-format-14 libclang-rt-dev llvm ccache
)
PACKAGES=("${RUN_PACKAGES[@]}")
if [ "$SET" = test ]; then PACKAGES+=("${TEST_PACKAGES[@]}"); fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# As root, apt-get runs as it is; otherwise through sudo. With neither, say what to run
# as root and stop, rather than fail halfway through.
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
  elif [ "${#missing[@]}" -gt 0 ]; then
    echo "setup-deps: these packages are missing and installing them needs root (no sudo here). As root, run:" >&2
    echo "  apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
    echo "then run this again." >&2
    exit 1
  fi
fi

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Brazilian regional settings for tests and for users who want them.
if [ "$(id -u)" -ne 0 ] && [ -z "$SUDO" ]; then
  locale -a 2>/dev/null | grep -qi '^pt_BR\.utf-\?8$' \
    || echo "setup-deps: the pt_BR.UTF-8 locale is missing; as root: enable it in /etc/locale.gen and run locale-gen" >&2
  exit 0
fi
if ! locale -a 2>/dev/null | grep -qi '^pt_BR\.utf-\?8$'; then
  if [ -f /etc/locale.gen ]; then
    $SUDO sed -i 's/^# *\(pt_BR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^pt_BR.UTF-8 UTF-8' /etc/locale.gen || echo 'pt_BR.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
  fi
fi

if [ "$SET" = run ]; then exit 0; fi

# More generated locales, for the tests that read regional settings through the C
# library (a test whose locale is missing skips with a message).
for loc in en_US de_DE pt_PT; do
  if ! locale -a 2>/dev/null | grep -qi "^${loc}\.utf-\?8\$"; then
    if [ -f /etc/locale.gen ]; then
      $SUDO sed -i "s/^# *\(${loc}.UTF-8 UTF-8\)/\1/" /etc/locale.gen
      grep -q "^${loc}.UTF-8 UTF-8" /etc/locale.gen || echo "${loc}.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
      $SUDO locale-gen >/dev/null
    fi
  fi
done

# Independent validators the fiscal cross-check tests and benchmark compare against:
# npm packages pinned by tools/crosscheck/package-lock.json. Without them those tests
# are skipped, so a failure here is only a warning.
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
if ! command -v npm >/dev/null 2>&1; then
  $SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends npm \
    || echo "warning: npm could not be installed; the cross-check tests will be skipped"
fi
CROSSCHECK="$ROOT/tools/crosscheck"
if command -v npm >/dev/null 2>&1; then
  if [ ! -f "$CROSSCHECK/node_modules/.package-lock.json" ] \
     || [ "$CROSSCHECK/package-lock.json" -nt "$CROSSCHECK/node_modules/.package-lock.json" ]; then
    (cd "$CROSSCHECK" && npm ci --no-audit --no-fund --silent) \
      || echo "warning: npm ci failed in tools/crosscheck; the cross-check tests will be skipped"
  fi
fi
