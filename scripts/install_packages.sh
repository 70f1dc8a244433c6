# Sourced by the scripts: installs the Debian packages named in `packages`,
# entries of the form "package:file-it-provides", whose file is missing.
install_missing() {
    local missing=()
    local entry
    for entry in "$@"; do
        [ -e "${entry#*:}" ] || missing+=("${entry%%:*}")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "missing packages: ${missing[*]} (run as root to install them)" >&2
        exit 1
    fi
    echo "installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
