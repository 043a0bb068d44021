#!/usr/bin/env bash
# scripts/run in a copy of the checkout, with the build, the simulator and the
# program replaced by stand-ins: the program must start in the working folder
# under build/, with the run's settings and its arguments, and what it writes
# there must stay between runs and never land in the checkout.
set -euo pipefail
run=$1
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
co=$t/checkout
mkdir -p "$co/scripts" "$co/build/bin" "$t/path"
cp "$run" "$co/scripts/run"
printf '#!/bin/sh\nexit 0\n' >"$co/scripts/deps"
printf '#!/bin/sh\nexit 0\n' >"$t/path/cmake"
printf '#!/bin/sh\necho /dev/pts/fake\nexec sleep 60\n' >"$co/build/bin/talvero-drivesim"
# The program notes where it runs and what it was given, lists what it finds
# there, and makes a new application in its current folder.
cat >"$co/build/bin/talvero" <<PROGRAM
#!/bin/sh
{ echo "cwd=\$(pwd -P)"; echo "config=\$XDG_CONFIG_HOME"; echo "com1=\$TALVERO_COM1"; echo "args=\$*"
  echo "found=\$(ls)"; } >>"$t/record"
touch Line3.APP
PROGRAM
chmod +x "$co/scripts/run" "$co/scripts/deps" "$t/path/cmake" "$co/build/bin/talvero-drivesim" \
  "$co/build/bin/talvero"
echo "checkout file" >"$co/README.md"
before=$(cd "$co" && find . -path ./build -prune -o -print | sort)

fail() { echo "FAIL: $*"; echo "--- record"; cat "$t/record" 2>/dev/null; exit 1; }
PATH="$t/path:$PATH" "$co/scripts/run" QUERNSTALD >/dev/null || fail "first run exited $?"
PATH="$t/path:$PATH" "$co/scripts/run" >/dev/null || fail "second run exited $?"

work=$(cd "$co/build/run-work" 2>/dev/null && pwd -P) || fail "no working folder build/run-work"
mapfile -t cwds < <(grep '^cwd=' "$t/record")
[ "${#cwds[@]}" -eq 2 ] || fail "the program ran ${#cwds[@]} times, not 2"
for c in "${cwds[@]}"; do [ "$c" = "cwd=$work" ] || fail "the program ran in ${c#cwd=}, not $work"; done
[ -e "$work/Line3.APP" ] || fail "the new application is not in the working folder"
grep -q '^found=Line3.APP$' "$t/record" || fail "the second run did not find the first run's application"
grep -qx "config=$co/build/run-config" "$t/record" || fail "the settings folder is not build/run-config"
grep -qx 'com1=/dev/pts/fake' "$t/record" || fail "COM1 is not mapped to the simulated line"
grep -qx 'args=QUERNSTALD' "$t/record" || fail "the arguments did not reach the program"
grep -qx 'COM=1' "$co/build/run-config/Talvero3/Talvero3.ini" || fail "the run's settings do not start on COM1"
after=$(cd "$co" && find . -path ./build -prune -o -print | sort)
[ "$before" = "$after" ] || fail "the checkout changed outside build/: $(diff <(echo "$before") <(echo "$after") || true)"
echo "scripts/run starts the program in $work and leaves the checkout as it was"
