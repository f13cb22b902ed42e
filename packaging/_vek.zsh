#compdef vek
# zsh completion for vek: verbs and options come from the tool's own help texts.
_vek() {
    local -a verbs options
    local verb i
    for ((i = 2; i < CURRENT; i++)); do
        case ${words[i]} in
        --game-dir | --wine-prefix | --floppy | --link) ((i++)) ;;
        -*) ;;
        *) verb=${words[i]}; break ;;
        esac
    done
    case ${words[CURRENT - 1]} in
    --game-dir | --wine-prefix | --floppy) _files -/; return ;;
    --link) compadd socket wine; return ;;
    esac
    if [[ -z $verb ]]; then
        verbs=(${(f)"$(vek --help 2>/dev/null | sed -n '/^Verbs:/,$ s/^  \([a-z0-9-]*\)  *\(.*\)/\1:\2/p')"})
        _describe 'verb' verbs
        compadd -- --game-dir --wine-prefix --floppy --link --help --version
        return
    fi
    if [[ $PREFIX == -* ]]; then
        options=(${(f)"$(vek $verb --help 2>/dev/null | grep -o -- '--[a-z][a-z-]*' | sort -u)"})
        compadd -- $options --help
        return
    fi
    _files
}
_vek "$@"
