# Sourced first by every script: it stops at the first failure and says
# where, under the script's own name.
set -euo pipefail
trap 'echo "$(basename "$0"): failed (exit $?) at line $LINENO: $BASH_COMMAND" >&2' ERR

# Prints the script's usage: its header comment, from the line after #! to
# the first line that is no comment.
travune_usage() {
  sed -n '2,/^[^#]/{/^#/s/^# \{0,1\}//p}' "$0"
}
