#!/bin/sh
# The demo's stand-in for a game: it records that it was started, where, and with what.
{
  echo "started: $(date -u '+%Y-%m-%d %H:%M:%S UTC')"
  echo "folder: $(pwd)"
  for parameter in "$@"; do echo "parameter: $parameter"; done
} > "$(dirname "$0")/game-started.txt"
