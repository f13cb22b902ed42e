# Sourced by the scripts that install Debian packages. A mirror in the middle of a sync must not
# stop a run: the package lists are fetched a few times and, when they still fail, the lists
# already there are used. Only a package that is needed and cannot be installed fails the run.
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

aptRefresh() {
    local try
    for try in 1 2 3; do
        $sudo apt-get update -qq && return 0
        sleep $((try * 5))
    done
    echo "$(basename "$0"): the package lists could not all be fetched; going on with those there are" >&2
}

aptInstall() {  # aptInstall [apt-get options] PACKAGE...
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$@"
}

# True where this kernel runs 32-bit x86 programs (Wine's 32-bit half needs it): a 93-byte i386
# ELF program that only exits, written here rather than shipped, is run once.
kernelRuns32Bit() {
    local probe status=0
    probe=$(mktemp)
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    return $status
}
