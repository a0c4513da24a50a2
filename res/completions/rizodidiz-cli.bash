# SPDX-License-Identifier: MIT
# Bash completion of rizodidiz-cli: options as its own --help lists them, files otherwise.
_rizodidiz_cli() {
    local cur prev words cword split
    _init_completion -s || return
    # After "--" every word is a file.
    local i
    for ((i = 1; i < cword; i++)); do
        if [[ ${words[i]} == -- ]]; then
            _filedir
            return
        fi
    done
    # The option taking the value, also shortened as the program accepts it.
    case $prev in
    --d | --de*)
        COMPREPLY=($(compgen -W '0 1' -- "$cur"))
        return
        ;;
    --in | --inc*)
        # A comma-separated list: complete the last name after the commas typed so far.
        local head=${cur%"${cur##*,}"}
        COMPREPLY=($(compgen -P "$head" -W 'size created modified folder' -- "${cur##*,}"))
        compopt -o nospace
        return
        ;;
    esac
    $split && return
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '$(_parse_help "$1")' -- "$cur"))
        return
    fi
    _filedir
} &&
    complete -F _rizodidiz_cli rizodidiz-cli
