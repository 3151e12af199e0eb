# What the package says about itself (cmake/revora_package.cmake): the texts
# made from the release list and the contacts, and the mistakes refused. Run as
#   cmake -DMODULE=.../revora_package.cmake -DWORK=<scratch folder> -P test_package_texts.cmake
include(${MODULE})

set(failures 0)
macro(expect what got want)
  if(NOT "${got}" STREQUAL "${want}")
    message(SEND_ERROR "${what}:\n got:  [${got}]\n want: [${want}]")
    math(EXPR failures "${failures} + 1")
  endif()
endmacro()

# The day names: lintian refuses a changelog date whose
# weekday is wrong. Leap days, century years and both ends of the year.
foreach(row "2024-06-01 Sat, 01 Jun 2024" "2024-02-29 Thu, 29 Feb 2024"
            "2000-02-29 Tue, 29 Feb 2000" "2100-03-01 Mon, 01 Mar 2100"
            "1900-03-01 Thu, 01 Mar 1900" "2023-01-01 Sun, 01 Jan 2023"
            "1999-12-31 Fri, 31 Dec 1999" "2024-03-01 Fri, 01 Mar 2024"
            "2025-09-30 Tue, 30 Sep 2025" "2025-10-08 Wed, 08 Oct 2025"
            "2026-11-19 Thu, 19 Nov 2026" "2027-08-09 Mon, 09 Aug 2027"
            "2028-04-30 Sun, 30 Apr 2028" "2029-07-13 Fri, 13 Jul 2029"
            "2030-05-31 Fri, 31 May 2030")
  string(SUBSTRING "${row}" 0 10 iso)
  string(SUBSTRING "${row}" 11 -1 want)
  revora_changelog_date(${iso} got)
  expect("date ${iso}" "${got}" "${want} 00:00:00 +0000")
endforeach()

# Not dates: no day 0 or 32, no month 0 or 13, no 29 February outside a leap
# year (1900 and 2100 are none), no 31st in a 30-day month, no short fields.
foreach(iso 2024-00-10 2024-13-01 2024-01-00 2024-01-32 2023-02-29 1900-02-29 2100-02-29
            2024-02-30 2024-04-31 2024-06-31 2024-09-31 2024-11-31 24-06-01 2024-6-1
            2024-06-01x 2024/06/01)
  revora_changelog_date(${iso} got)
  expect("date ${iso} is refused" "${got}" "")
endforeach()

# Every month's last day is a date and the day after it is not (2023 has no
# leap day; 2024's is among the day names above).
foreach(row 01-31 02-28 03-31 04-30 05-31 06-30 07-31 08-31 09-30 10-31 11-30 12-31)
  string(SUBSTRING "${row}" 0 2 month)
  string(SUBSTRING "${row}" 3 2 last)
  math(EXPR after "${last} + 1")
  revora_changelog_date(2023-${month}-${last} got)
  if(got STREQUAL "")
    expect("2023-${month}-${last} is a date" "refused" "taken")
  endif()
  revora_changelog_date(2023-${month}-${after} got)
  expect("2023-${month}-${after} is refused" "${got}" "")
endforeach()

# Two releases in one list: the changelog in dpkg's form (newest first,
# continuation lines under their change) and the same
# releases in AppStream's, with the XML's special characters escaped. A
# semicolon and brackets come through as written.
file(WRITE ${WORK}/two "# comment\n\n1.1 2025-03-04\n- Fixes the A & B <case>; [see 2]\n"
           "- A longer change\n  that goes on\n\n1.0 2024-06-01\n- First release.\n")
revora_releases(FILE ${WORK}/two PACKAGE revora-shift MAINTAINER "A B <a@b.c>"
                NEWEST newest CHANGELOG changelog METAINFO metainfo)
expect("newest" "${newest}" "1.1")
string(CONCAT want_changelog
  "revora-shift (1.1) stable; urgency=medium\n\n"
  "  * Fixes the A & B <case>; [see 2]\n"
  "  * A longer change\n    that goes on\n\n"
  " -- A B <a@b.c>  Tue, 04 Mar 2025 00:00:00 +0000\n\n"
  "revora-shift (1.0) stable; urgency=medium\n\n"
  "  * First release.\n\n"
  " -- A B <a@b.c>  Sat, 01 Jun 2024 00:00:00 +0000\n")
expect("changelog" "${changelog}" "${want_changelog}")
string(CONCAT want_metainfo
  "  <releases>\n"
  "    <release version=\"1.1\" date=\"2025-03-04\">\n"
  "      <description>\n        <ul>\n"
  "          <li>Fixes the A &amp; B &lt;case&gt;; [see 2]</li>\n"
  "          <li>A longer change that goes on</li>\n"
  "        </ul>\n      </description>\n    </release>\n"
  "    <release version=\"1.0\" date=\"2024-06-01\">\n"
  "      <description>\n        <ul>\n"
  "          <li>First release.</li>\n"
  "        </ul>\n      </description>\n    </release>\n"
  "  </releases>")
expect("metainfo" "${metainfo}" "${want_metainfo}")

# A line of 76 characters is the longest taken ("  * " and it make 80).
string(REPEAT "x" 74 x74)
file(WRITE ${WORK}/longest "1.0 2024-06-01\n- ${x74}\n")
revora_releases(FILE ${WORK}/longest PACKAGE p MAINTAINER "A B <a@b.c>"
                NEWEST newest CHANGELOG changelog METAINFO metainfo)
expect("the longest line" "${changelog}" "p (1.0) stable; urgency=medium\n\n  * ${x74}\n\n -- A B <a@b.c>  Sat, 01 Jun 2024 00:00:00 +0000\n")

# The contacts: the defaults (none but the maintainer) give no <url> and no
# Source; given ones come out in the metainfo's and the copyright file's form,
# with the XML's special characters escaped.
revora_package_contacts(MAINTAINER "Revora Shift developers <dev@revora.home.arpa>"
                        HOMEPAGE "" BUG_TRACKER "" METAINFO_URLS urls COPYRIGHT_SOURCE source)
expect("no web addresses: urls" "${urls}" "")
expect("no web addresses: source" "${source}" "")
revora_package_contacts(MAINTAINER "Jo Bloggs <jo@example.org>" HOMEPAGE "https://example.org/a?b=1&c=2"
                        BUG_TRACKER "http://example.org/bugs" METAINFO_URLS urls COPYRIGHT_SOURCE source)
expect("both web addresses: urls" "${urls}"
       "\n  <url type=\"homepage\">https://example.org/a?b=1&amp;c=2</url>\n  <url type=\"bugtracker\">http://example.org/bugs</url>")
expect("both web addresses: source" "${source}" "\nSource: https://example.org/a?b=1&c=2")
revora_package_contacts(MAINTAINER "J <j@e.org>" HOMEPAGE "" BUG_TRACKER "https://e.org/b"
                        METAINFO_URLS urls COPYRIGHT_SOURCE source)
expect("only a bug tracker: urls" "${urls}" "\n  <url type=\"bugtracker\">https://e.org/b</url>")
expect("only a bug tracker: source" "${source}" "")

# Refused, each with where and what is wrong: a refusal ends the CMake run
# that meets it, so each runs in a process of its own.
set(n 0)
function(expect_refused what call want)
  math(EXPR n "${n} + 1")
  set(n ${n} PARENT_SCOPE)
  file(WRITE ${WORK}/refused${n}.cmake "include(${MODULE})\n${call}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -P ${WORK}/refused${n}.cmake
                  RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
  # CMake wraps long messages; compare the words, not the line breaks.
  string(REGEX REPLACE "[ \n]+" " " err "${err}")
  string(REGEX REPLACE "[ \n]+" " " want "${want}")
  string(FIND "${err}" "${want}" at)
  if(rc EQUAL 0 OR at EQUAL -1)
    message(SEND_ERROR "${what} should be refused with '${want}', got rc ${rc}: ${err}")
    set(failures 1 PARENT_SCOPE)
  endif()
endfunction()

set(lists
  "- orphan\n|:1: a change before any release line"
  "1.0 2024-06-01\n|release 1.0 lists no changes"
  "1.0 2024-06-01\n- a\n1.1 2024-05-01\n- b\n|:3: release 1.1 comes after 1.0"
  "1.0 2024-06-01\n- a\n1.0 2024-05-01\n- b\n|:3: release 1.0 comes after 1.0"
  "1.1 2024-06-01\n- a\n1.0 2024-06-02\n- b\n|:3: release 1.0 is dated 2024-06-02, after the newer 1.1"
  "1.1 2024-06-01\n- a\n1.0 2024-05-01\n|release 1.0 lists no changes"
  "1.0 2024-02-30\n- a\n|:1: \"2024-02-30\" is not a date"
  "1.0\n- a\n|:1: \"1.0\" is neither a release line"
  "1.0 2024-06-01\n-a\n|:2: \"-a\" is neither a release line"
  "v1.0 2024-06-01\n- a\n|:1: \"v1.0 2024-06-01\" is neither a release line"
  "# nothing\n\n|no release in the list"
  "1.0 2024-06-01\n  goes on\n|:2: an indented line continues a change"
  "1.0 2024-06-01\n- x${x74}\n|:2: the line is 77 characters long")
set(list_number 0)
foreach(row IN LISTS lists)
  string(FIND "${row}" "|" bar REVERSE)
  string(SUBSTRING "${row}" 0 ${bar} text)
  math(EXPR bar "${bar} + 1")
  string(SUBSTRING "${row}" ${bar} -1 want)
  math(EXPR list_number "${list_number} + 1")
  file(WRITE ${WORK}/list${list_number} "${text}")
  expect_refused("list ${list_number} (${text})"
    "revora_releases(FILE ${WORK}/list${list_number} PACKAGE p MAINTAINER \"A B <a@b.c>\" NEWEST v CHANGELOG c METAINFO m)"
    "${want}")
endforeach()

# A maintainer without a name, without <>, with something after it, or with an
# address lacking its user, its domain or the domain's dot; a web address that
# is not http(s) or holds a space or a quote.
foreach(maintainer "jo@example.org" "<jo@example.org>" "Jo Bloggs jo@example.org"
                   "Jo <jo@example.org> x" "Jo <@example.org>" "Jo <jo@>" "Jo <jo@localhost>"
                   "Jo  <jo@example.org>" "")
  expect_refused("maintainer '${maintainer}'"
    "revora_package_contacts(MAINTAINER \"${maintainer}\" HOMEPAGE \"\" BUG_TRACKER \"\" METAINFO_URLS u COPYRIGHT_SOURCE s)"
    "REVORA_MAINTAINER is \"${maintainer}\"; set it as")
endforeach()
foreach(address "example.org" "ftp://example.org" "https://example.org/a b" "mailto:jo@example.org"
                "https://" "https://e.org/\\\"q")
  expect_refused("homepage '${address}'"
    "revora_package_contacts(MAINTAINER \"J <j@e.org>\" HOMEPAGE \"${address}\" BUG_TRACKER \"\" METAINFO_URLS u COPYRIGHT_SOURCE s)"
    "REVORA_HOMEPAGE is")
  expect_refused("bug tracker '${address}'"
    "revora_package_contacts(MAINTAINER \"J <j@e.org>\" HOMEPAGE \"\" BUG_TRACKER \"${address}\" METAINFO_URLS u COPYRIGHT_SOURCE s)"
    "REVORA_BUG_TRACKER is")
endforeach()

if(failures GREATER 0)
  message(FATAL_ERROR "package text checks failed")
endif()
message(STATUS "package text checks passed")
