#!/usr/bin/env bash
# Builds the Debian package, installs it, uses the installed programs, removes
# it and checks that nothing of it is left. Needs root; installs only our own
# package and refuses to run when a wordlamp package is already installed.
set -euo pipefail
cd "$(dirname "$0")/../.."

if dpkg-query -W -f='${Status}' wordlamp 2>/dev/null | grep -q 'installed'; then
  echo "test-package: a wordlamp package is already installed; not touching it" >&2
  exit 1
fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

# A Debug build: the objects of the test build are reused from the compiler cache.
deb=$(WORDLAMP_PACKAGE_BUILD_TYPE=Debug scripts/package | sed -n 's/^package: //p' | tail -1)
work=$(mktemp -d "${TMPDIR:-/tmp}/wordlamp-package.XXXXXX")
installed=0
cleanup() {
  [ "$installed" = 1 ] && $sudo apt-get purge -y -qq wordlamp >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# The folders of the package that exist before it is installed stay after it.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||' | grep -v '^$' | while read -r p; do
  if [ -e "$p" ]; then echo "$p"; fi
done >"$work/before"

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "./$deb" >/dev/null
installed=1
dpkg -L wordlamp >"$work/files"
echo "test-package: installed $(grep -c . "$work/files") paths"

desktop-file-validate /usr/share/applications/io.github.wordlamp.Wordlamp.desktop
appstreamcli validate --no-net /usr/share/metainfo/io.github.wordlamp.Wordlamp.metainfo.xml >/dev/null
for p in Wordlamp wordlamp-lookup wordlamp-dict; do
  [ "$(command -v "$p")" = "/usr/bin/$p" ]
  LC_ALL=C "$p" --version | grep -q "^$p "
  LC_ALL=C "$p" --help | iconv -f UTF-8 -t UTF-8 >/dev/null
  man -w "$p" >/dev/null
done

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config"
mkdir -p "$HOME"
wordlamp-lookup apple | grep -q '林檎'
echo "test-package: the installed wordlamp-lookup found apple"
tests/package/window-check.sh /usr/bin/Wordlamp apple 林檎

DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq wordlamp >/dev/null
installed=0
left=0
while read -r p; do
  [ -e "$p" ] || continue
  grep -qxF -- "$p" "$work/before" && continue
  echo "test-package: left behind: $p" >&2
  left=1
done <"$work/files"
[ "$left" = 0 ]
echo "test-package: removed, nothing left behind"
