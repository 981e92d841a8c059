# shellcheck shell=bash
# What each test of a suite run came to, one line per test:
#   VERDICT<TAB>NAME<TAB>REASON
# VERDICT is passed, failed or skipped; REASON is why a test was skipped (or
# what kept it from running, for a failed one), else empty. Sourced by
# scripts/test.

# ctest_junit_results FILE: the tests of ctest's JUnit file FILE
# (ctest --output-junit). CTest marks a test it did not run "notrun"; that
# is a skip only when the test itself said so (its SKIP_RETURN_CODE, or
# GoogleTest's "[  SKIPPED ]" matching its SKIP_REGULAR_EXPRESSION). A test
# ctest could not start at all (no executable, a required file or fixture
# missing) is "notrun" too but a failure, as ctest counts it. The reason for
# a skip is the one the test printed: GoogleTest's GTEST_SKIP message, else
# the last line the test wrote.
ctest_junit_results() {
  LC_ALL=C awk '
    function unxml(s) {
      gsub(/&lt;/, "<", s); gsub(/&gt;/, ">", s); gsub(/&quot;/, "\"", s)
      gsub(/&apos;/, "\047", s); gsub(/&amp;/, "\\&", s)
      return s
    }
    function attr(line, key,   s) {
      if (!match(line, " " key "=\"[^\"]*\"")) return ""
      return unxml(substr(line, RSTART + length(key) + 3, RLENGTH - length(key) - 4))
    }
    function oneline(s) { gsub(/[\t\r]/, " ", s); sub(/^ +/, "", s); sub(/ +$/, "", s); return s }
    # The message of a skip, from what the test printed.
    function skip_reason(text, fallback,   n, lines, i, l, at, where, r, last) {
      n = split(text, lines, "\n")
      for (i = 1; i <= n; i++) {
        l = oneline(lines[i])
        if (!at && l ~ /(:[0-9]+:|\([0-9]+\):) Skipped$/) {
          at = 1; where = l; sub(/:? Skipped$/, "", where)
        } else if (at) {
          if (l ~ /^\[  SKIPPED \]/) break
          if (l != "") r = r (r == "" ? "" : " ") l
        } else if (l != "") {
          last = l
        }
      }
      if (at) return r != "" ? r : "no reason given (" where ")"
      return last != "" ? last : fallback
    }
    function flush(   verdict, reason) {
      if (!open) return
      open = 0; inout = 0; reason = ""
      if (status == "run") {
        verdict = "passed"
      } else if (status == "disabled") {
        verdict = "skipped"; reason = "disabled"
      } else if (status == "notrun" &&
                 (message ~ /^SKIP_RETURN_CODE=/ || message == "SKIP_REGULAR_EXPRESSION_MATCHED")) {
        verdict = "skipped"; reason = skip_reason(out, message)
      } else {
        verdict = "failed"; if (status == "notrun") reason = "not run: " message
      }
      printf "%s\t%s\t%s\n", verdict, oneline(name), reason
    }
    # The output, between <system-out> and </system-out>: escaped, so its
    # lines hold no "<" of their own.
    function collect(l,   i) {
      if ((i = index(l, "</system-out>")) > 0) { l = substr(l, 1, i - 1); inout = 0 }
      out = out unxml(l) "\n"
    }
    inout { collect($0); if (!inout && $0 ~ /<\/testcase>/) flush(); next }
    /<testcase[ >]/ {
      flush()
      open = 1; name = attr($0, "name"); status = attr($0, "status"); message = ""; out = ""
      if ($0 ~ /\/>[ \t\r]*$/) flush()
      next
    }
    open && /<system-out>/ {
      inout = 1; collect(substr($0, index($0, "<system-out>") + 12))
      if (!inout && $0 ~ /<\/testcase>/) flush()
      next
    }
    open && /<(skipped|failure|error)[ \/>]/ { message = attr($0, "message") }
    /<\/testcase>/ { flush() }
    END { flush() }
  ' "$1"
}

# check_lines_results: the checks of a script that prints "ok: CHECK",
# "FAIL: CHECK" or "skip: CHECK (WHY)" per check (tests/package/package_test.sh),
# read from standard input; other lines are the checks' details.
check_lines_results() {
  sed -n -E \
    -e 's/^ok: (.*)$/passed\t\1\t/p' \
    -e 's/^FAIL: (.*)$/failed\t\1\t/p' \
    -e 's/^skip: (.*) \((.*)\)$/skipped\t\1\t\2/p' \
    -e 's/^skip: (.*[^)])$/skipped\t\1\tno reason given/p'
}

# results_count VERDICT RESULTS: how many of RESULTS' lines have VERDICT.
results_count() {
  local verdict=$1 line n=0
  while IFS= read -r line; do
    [[ $line == "$verdict"$'\t'* ]] && n=$((n + 1))
  done <<<"$2"
  echo "$n"
}
