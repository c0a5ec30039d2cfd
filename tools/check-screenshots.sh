#!/usr/bin/env bash
# Fails when a screenshot in docs/ was committed before the last commit that changed what it
# shows: the skin's code, the resources, the main window's layout or the art generator.
# tools/screenshots.sh makes them again.
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  echo "check-screenshots.sh: not a git checkout, so the screenshots' age cannot be checked"
  exit 0
fi
shown_by=(skin res app/MainLayout.cpp app/MainLayout.h tools/make_skin.py)
changed=$(git log -1 --format=%ct -- "${shown_by[@]}")
stale=()
for shot in docs/*.png; do
  taken=$(git log -1 --format=%ct -- "$shot")
  if [ -z "$taken" ] || [ "$taken" -lt "${changed:-0}" ]; then stale+=("$shot"); fi
done
if [ ${#stale[@]} -gt 0 ]; then
  echo "check-screenshots.sh: older than the last change to ${shown_by[*]}: ${stale[*]}" >&2
  echo "  run tools/screenshots.sh, look at the pictures and commit them" >&2
  exit 1
fi
echo "Screenshots in docs/ are newer than the last change to what they show."
