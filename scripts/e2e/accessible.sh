# Reading Tovlen's windows as a screen reader does, with tests/win/read_accessible.cpp. Source
# it after lib.sh, and copy read_accessible.exe beside Tovlen.exe (E2E_READER says where).
: "${E2E_READER:=C:\\Tovlen\\read_accessible.exe}"

# e2e_read WHAT [TEXT]: what the client reads ("command", "suggestion" or "title TEXT").
e2e_read() { timeout 30 wine "$E2E_READER" "$@" 2>/dev/null | tr -d '\r'; }

# e2e_read_has WHAT LINE: whether the reading holds LINE exactly, such as "value=note".
e2e_read_has() {
    local line=$1
    shift
    e2e_read "$@" | grep -qxF -- "$line"
}

# e2e_expect_read SECONDS WHAT LINE WHY [TITLE]: waits for the line to be read, else fails with
# WHY and what was read instead. WHAT "title" reads the window titled TITLE.
e2e_expect_read() {
    local limit=$1 what=$2 line=$3 why=$4
    shift 4
    e2e_until "$limit" e2e_read_has "$line" "$what" "$@" && return 0
    e2e_fail "$why; the $what window reads: $(e2e_read "$what" "$@" | tr '\n' '|')"
}
