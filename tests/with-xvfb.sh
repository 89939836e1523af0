#!/usr/bin/env bash
# Runs one command against a private X server: with-xvfb.sh program args...
set -u
dir=$(mktemp -d)
. "$(dirname "$0")/xvfb.sh"
trap 'stop_xvfb; rm -rf "$dir"' EXIT
start_xvfb "$dir" || exit 1
"$@"
