#!/usr/bin/env bash
# Checks the bash completion of quarnel-cli against the program's own help: every
# sub-command and every option it lists must be offered, so that the completion cannot fall
# behind the program. Also run on the installed package by scripts/package.sh.
#
#   tests/cli/completion_test.sh QUARNEL_CLI COMPLETION_FILE
set -euo pipefail
cli=$1
completion=$2

source /usr/share/bash-completion/bash_completion
source "$completion"

# What the completion offers for the command line "$@", the last word being completed.
offered() {
    COMP_WORDS=(quarnel-cli "$@")
    COMP_CWORD=$#
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _quarnel_cli quarnel-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}"
}

# The options a help text lists: every -x and --name in its option column.
listed_options() {
    sed -n '/^Options:/,/^$/p' | grep -E '^  -' | sed -E 's/^  ([^ ]*).*/\1/; s/\{.*//' |
        tr ',' '\n' | sed 's/^!//'
}

failures=0
expect() {  # expect WHAT OFFERED... : WHAT must be among the lines of OFFERED
    if ! grep -qxF -- "$1" <<<"$2"; then
        echo "completion misses $1 after: quarnel-cli ${*:3}" >&2
        failures=$((failures + 1))
    fi
}

commands=$("$cli" --help | sed -n '/^Subcommands:/,$p' | sed -nE 's/^  ([a-z]+) .*/\1/p')
[ -n "$commands" ] || { echo "no sub-commands in quarnel-cli --help" >&2; exit 1; }
top=$(offered '')
for command in $commands; do expect "$command" "$top"; done
top_options=$(offered -)
for option in $("$cli" --help | listed_options); do expect "$option" "$top_options" -; done
for command in $commands; do
    options=$(offered "$command" -)
    for option in $("$cli" "$command" --help | listed_options); do
        expect "$option" "$options" "$command" -
    done
done
expect ntsc "$(offered convert --system '')" convert --system

((failures == 0)) && echo "completion offers every sub-command and option of quarnel-cli"
((failures == 0))
