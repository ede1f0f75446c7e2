#!/usr/bin/env bash
# Runs the layer check on a small tree of wrong includes and expects it to fail naming each of
# them, no more and no fewer: an upward include from every kind of layer, and one across the
# two folders of layer 2.
set -uo pipefail
check=$1
tree=$2
output=$(bash "$check" "$tree")
status=$?
if [ "$status" -ne 1 ]; then
    echo "the check exited $status on a tree with wrong includes; expected 1"
    exit 1
fi
diff <(grep -v 'include(s) against' <<<"$output" | sort) <(sort "$tree/expected-offences.txt")
