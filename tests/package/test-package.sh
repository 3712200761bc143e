#!/usr/bin/env bash
# Builds the Debian package, installs it over an older version, uses the
# installed programs, removes it while the program runs and checks that
# nothing of it is left. Needs root; installs only our own
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

# An older version first, with a file the new one no longer has: the new
# package is installed over it and the old file goes.
old=$work/old
dpkg-deb -R "$deb" "$old"
sed -i 's/^Version: .*/Version: 0.9/' "$old/DEBIAN/control"
echo "only in 0.9" >"$old/usr/share/wordlamp/obsolete-0.9.txt"
if [ -f "$old/DEBIAN/md5sums" ]; then
  (cd "$old" && md5sum usr/share/wordlamp/obsolete-0.9.txt >>DEBIAN/md5sums)
fi
dpkg-deb -Znone --root-owner-group -b "$old" "$work/wordlamp_0.9.deb" >/dev/null
rm -rf "$old"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$work/wordlamp_0.9.deb" >/dev/null
installed=1
[ "$(dpkg-query -W -f='${Version}' wordlamp)" = 0.9 ]
[ -f /usr/share/wordlamp/obsolete-0.9.txt ]

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "./$deb" >/dev/null
version=$(dpkg-deb -f "$deb" Version)
[ "$(dpkg-query -W -f='${Version}' wordlamp)" = "$version" ]
[ ! -e /usr/share/wordlamp/obsolete-0.9.txt ]
echo "test-package: $version installed over 0.9; the file only 0.9 had is gone"
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
# Without its dictionary (a package built where edict was missing) the
# installed program starts and says where the dictionary is missing.
mkdir "$work/dictionary"
$sudo mv /usr/share/wordlamp/waei.dic /usr/share/wordlamp/wordmere.dic "$work/dictionary/"
tests/package/window-check.sh --missing /usr/bin/Wordlamp
$sudo mv "$work/dictionary/waei.dic" "$work/dictionary/wordmere.dic" /usr/share/wordlamp/

# The package removed while the program runs: the program says the
# dictionary is missing at the next lookup and goes on.
tests/package/window-check.sh --remove "DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq wordlamp >/dev/null" \
  /usr/bin/Wordlamp apple 林檎
if dpkg-query -W -f='${Status}' wordlamp 2>/dev/null | grep -q 'ok installed'; then
  echo "test-package: the package was not removed" >&2
  exit 1
fi
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
