#!/usr/bin/env bash
# Unregisters the board with regsvr32 /u, then lets the client confirm that
# the platform finds nothing of it any more.
#   unregister-check.sh <source dir> <simboard.dll> <simboard_client_tests.exe>
set -euo pipefail
root="$1"
dll="$2"
client="$3"
"$root/scripts/register-simboard" --unregister "$dll"
exec "$root/scripts/wine-run" "$client" --gtest_also_run_disabled_tests \
  --gtest_filter='Unregistered.*'
