# Sourced first by every script under tools/ and bench/: a step that fails names itself,
# its line and its exit status before the script stops, so nothing ends without a word.
set -euo pipefail
set -o errtrace
trap 'kalvo_report_failure $? "$BASH_COMMAND" "${BASH_SOURCE[0]:-$0}" "$LINENO"' ERR

kalvo_report_failure() {
  echo "$(basename "$3"): failed (exit $1) at line $4: $2" >&2
}
