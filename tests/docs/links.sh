#!/usr/bin/env bash
# links.sh REPOSITORY [FILE...]: each relative link [text](target) of FILE... (every tracked *.md) names a file or folder,
# its #anchor dropped; a link two folders above the repository is one of GitHub's pages for it (the CI badge).
cd "$1" && shift && root=$(pwd) && status=0
[ $# -ne 0 ] || { files=$(git ls-files '*.md') && set -- $files; } || { echo "SKIP: not a git checkout"; exit 77; }
for md in "$@"; do
    while IFS= read -r target; do
        path=$(realpath -m --relative-to="$root" "$(dirname "$md")/${target%%#*}")
        [[ -z "${target%%#*}" || "$path" == ../../* || -e "$path" ]] || { echo "$md: $target: no such file"; status=1; }
    done < <(grep -o '](\([^)]*\))' "$md" | sed 's/^](//; s/[ )].*//' | grep -vE '^([a-z]+:|#)')
done
exit $status
