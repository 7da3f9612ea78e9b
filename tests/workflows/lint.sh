#!/usr/bin/env bash
# The workflow lint: GitHub's workflow parser, which scripts/test installs in TOOLS_FOLDER, on
# each workflow. Skipped (77), with the reason, where it could not be installed. With
# --planted, the workflows hold a planted fault: it passes only when the lint fails naming it.
#   lint.sh TOOLS_FOLDER [--planted PATTERN] WORKFLOW...
set -u
tools=$1
shift
if [ ! -d "$tools/node_modules/@actions/workflow-parser" ]; then
    echo "SKIP: GitHub's workflow parser is not installed: $(cat "$tools/unavailable.txt" 2>/dev/null || echo 'run scripts/test')"
    exit 77
fi
pattern=
[ "${1:-}" = --planted ] && pattern=$2 && shift 2
here=$(cd "$(dirname "$0")" && pwd)
out=$(node --no-warnings --experimental-loader "$here/json-loader.mjs" "$here/lint.mjs" "$tools" "$@")
status=$?
echo "$out"
if [ -n "$pattern" ]; then
    [ "$status" -ne 0 ] && grep -qF -- "$pattern" <<<"$out"
else
    [ "$status" -eq 0 ]
fi
