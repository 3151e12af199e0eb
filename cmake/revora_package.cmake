# What the package says about itself, made from one source each: the release
# list (packaging/releases) as the Debian changelog and the AppStream <releases>
# element, and the contacts (cache variables) as the metainfo's web addresses and
# the copyright file's Source. Plain CMake, so configuring needs no other tool,
# and tests/install/test_package_texts.cmake runs it with `cmake -P` on its own.

# The day of the week of a Gregorian date, 0 = Sunday (Sakamoto's method). The
# changelog's date must name the right day: lintian checks it.
function(revora_weekday year month day out)
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR i "${month} - 1")
  list(GET offsets ${i} offset)
  if(month LESS 3)
    math(EXPR year "${year} - 1")
  endif()
  math(EXPR wd "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
  set(${out} ${wd} PARENT_SCOPE)
endfunction()

# Days in a month of a Gregorian year.
function(revora_month_days year month out)
  set(days 31 28 31 30 31 30 31 31 30 31 30 31)
  math(EXPR i "${month} - 1")
  list(GET days ${i} n)
  if(month EQUAL 2)
    math(EXPR leap4 "${year} % 4")
    math(EXPR leap100 "${year} % 100")
    math(EXPR leap400 "${year} % 400")
    if(leap400 EQUAL 0 OR (leap4 EQUAL 0 AND NOT leap100 EQUAL 0))
      set(n 29)
    endif()
  endif()
  set(${out} ${n} PARENT_SCOPE)
endfunction()

# An ISO date (YYYY-MM-DD) as the changelog writes it (RFC 5322, at midnight UTC:
# the list keeps the day of a release, not its hour).
function(revora_changelog_date iso out)
  string(REGEX MATCH "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$" whole "${iso}")
  if(NOT whole)
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  set(y ${CMAKE_MATCH_1})
  set(mm ${CMAKE_MATCH_2})
  set(dd ${CMAKE_MATCH_3})
  # "1" before two digits less 100: math() would read a leading zero as octal.
  math(EXPR m "1${mm} - 100")
  math(EXPR d "1${dd} - 100")
  if(m LESS 1 OR m GREATER 12 OR d LESS 1)
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  revora_month_days(${y} ${m} last)
  if(d GREATER last)
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  revora_weekday(${y} ${m} ${d} wd)
  set(day_names Sun Mon Tue Wed Thu Fri Sat)
  set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET day_names ${wd} day_name)
  math(EXPR mi "${m} - 1")
  list(GET month_names ${mi} month_name)
  set(${out} "${day_name}, ${dd} ${month_name} ${y} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

function(revora_xml_escape text out)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Appends the release gathered so far (version, date, changes) to both texts.
macro(_revora_finish_release)
  if(NOT version STREQUAL "")
    if(changes STREQUAL "")
      message(FATAL_ERROR "${arg_FILE}: release ${version} lists no changes; add at least "
                          "one line \"- ...\" under it.")
    endif()
    string(APPEND changelog "${arg_PACKAGE} (${version}) stable; urgency=medium\n\n")
    string(APPEND metainfo "    <release version=\"${version}\" date=\"${date}\">\n"
                           "      <description>\n        <ul>\n")
    foreach(change IN LISTS changes)
      string(REPLACE "\n" "\n    " entry "${change}")
      string(APPEND changelog "  * ${entry}\n")
      string(REPLACE "\n" " " item "${change}")
      revora_xml_escape("${item}" item)
      string(APPEND metainfo "          <li>${item}</li>\n")
    endforeach()
    string(APPEND changelog "\n -- ${arg_MAINTAINER}  ${changelog_date}\n\n")
    string(APPEND metainfo "        </ul>\n      </description>\n    </release>\n")
  endif()
endmacro()

# revora_releases(FILE <list> PACKAGE <name> MAINTAINER <"Name <address>">
#                 NEWEST <var> CHANGELOG <var> METAINFO <var>)
# Sets NEWEST to the newest release's version, CHANGELOG to the Debian changelog
# and METAINFO to the <releases> element. A malformed list stops configuring with a message that
# names the line and says what is wrong there.
function(revora_releases)
  cmake_parse_arguments(arg "" "FILE;PACKAGE;MAINTAINER;NEWEST;CHANGELOG;METAINFO" "" ${ARGN})
  if(NOT EXISTS "${arg_FILE}")
    message(FATAL_ERROR "The release list ${arg_FILE} is missing.")
  endif()
  # A semicolon would split a CMake list and a lone bracket would stop it
  # splitting: they travel as other characters and come back at the end. Blank
  # lines stay, so the line numbers are right.
  file(READ "${arg_FILE}" content)
  string(ASCII 1 semicolon)
  string(ASCII 2 open_bracket)
  string(ASCII 3 close_bracket)
  string(REPLACE ";" "${semicolon}" content "${content}")
  string(REPLACE "[" "${open_bracket}" content "${content}")
  string(REPLACE "]" "${close_bracket}" content "${content}")
  string(REPLACE "\n" ";" lines "${content}")

  set(changelog "")
  set(metainfo "")
  set(version "")
  set(newest "")
  set(changes "")       # the current release's changes, each a list element
  set(line_number 0)
  foreach(line IN LISTS lines)
    math(EXPR line_number "${line_number} + 1")
    set(where "${arg_FILE}:${line_number}")
    if(line MATCHES "^#" OR line MATCHES "^[ \t]*$")
      continue()
    endif()
    string(LENGTH "${line}" length)
    if(length GREATER 76)
      message(FATAL_ERROR "${where}: the line is ${length} characters long; break it after "
                          "at most 76 (a changelog line must fit in 80).")
    endif()
    if(line MATCHES "^- (.+)$")
      if(version STREQUAL "")
        message(FATAL_ERROR "${where}: a change before any release line \"VERSION YYYY-MM-DD\".")
      endif()
      list(APPEND changes "${CMAKE_MATCH_1}")
      continue()
    endif()
    if(line MATCHES "^[ \t]+(.+)$")
      if(changes STREQUAL "")
        message(FATAL_ERROR "${where}: an indented line continues a change, but no change "
                            "(\"- ...\") comes before it.")
      endif()
      list(POP_BACK changes last)
      list(APPEND changes "${last}\n${CMAKE_MATCH_1}")
      continue()
    endif()

    if(NOT line MATCHES "^([0-9]+(\\.[0-9]+)*) +([^ ]+)$")
      message(FATAL_ERROR "${where}: \"${line}\" is neither a release line "
                          "\"VERSION YYYY-MM-DD\" nor a change \"- ...\".")
    endif()
    set(next_version ${CMAKE_MATCH_1})
    set(next_date ${CMAKE_MATCH_3})
    revora_changelog_date("${next_date}" next_changelog_date)
    if(next_changelog_date STREQUAL "")
      message(FATAL_ERROR "${where}: \"${next_date}\" is not a date; write it as YYYY-MM-DD.")
    endif()
    # Newest first: a package manager takes the first entry for the package's
    # version, and AppStream shows the releases in the order given.
    if(version STREQUAL "")
      set(newest ${next_version})
    elseif(NOT next_version VERSION_LESS version)
      message(FATAL_ERROR "${where}: release ${next_version} comes after ${version}; "
                          "list the releases newest first.")
    elseif(next_date STRGREATER date)
      message(FATAL_ERROR "${where}: release ${next_version} is dated ${next_date}, "
                          "after the newer ${version} (${date}).")
    endif()
    _revora_finish_release()
    set(version ${next_version})
    set(date ${next_date})
    set(changelog_date "${next_changelog_date}")
    set(changes "")
  endforeach()
  _revora_finish_release()

  if(newest STREQUAL "")
    message(FATAL_ERROR "${arg_FILE}: no release in the list; add one as "
                        "\"VERSION YYYY-MM-DD\" with its changes.")
  endif()
  # The changelog ends with one newline, not a blank line.
  string(REGEX REPLACE "\n\n$" "\n" changelog "${changelog}")
  foreach(text changelog metainfo)
    string(REPLACE "${semicolon}" ";" ${text} "${${text}}")
    string(REPLACE "${open_bracket}" "[" ${text} "${${text}}")
    string(REPLACE "${close_bracket}" "]" ${text} "${${text}}")
  endforeach()
  set(${arg_NEWEST} ${newest} PARENT_SCOPE)
  set(${arg_CHANGELOG} "${changelog}" PARENT_SCOPE)
  set(${arg_METAINFO} "  <releases>\n${metainfo}  </releases>" PARENT_SCOPE)
endfunction()

# revora_package_contacts(MAINTAINER <"Name <address>"> HOMEPAGE <url or empty>
#                         BUG_TRACKER <url or empty> METAINFO_URLS <var> COPYRIGHT_SOURCE <var>)
# Checks the contacts given by REVORA_MAINTAINER, REVORA_HOMEPAGE and
# REVORA_BUG_TRACKER, and sets METAINFO_URLS to the metainfo's <url> lines and
# COPYRIGHT_SOURCE to the copyright file's Source line, each empty when its
# address is. A malformed one stops configuring with what to write instead.
function(revora_package_contacts)
  cmake_parse_arguments(arg "" "MAINTAINER;HOMEPAGE;BUG_TRACKER;METAINFO_URLS;COPYRIGHT_SOURCE" "" ${ARGN})
  if(NOT "${arg_MAINTAINER}" MATCHES "^[^<>@]*[^<>@ ] <[^<>@ ]+@[^<>@ ]+[.][^<>@ .]+>$")
    message(FATAL_ERROR "REVORA_MAINTAINER is \"${arg_MAINTAINER}\"; set it as \"Name <user@domain>\", "
                        "for example -DREVORA_MAINTAINER=\"Jo Bloggs <jo@example.org>\".")
  endif()
  set(urls "")
  foreach(contact "homepage|REVORA_HOMEPAGE|${arg_HOMEPAGE}"
                  "bugtracker|REVORA_BUG_TRACKER|${arg_BUG_TRACKER}")
    string(REGEX MATCH "^([a-z]+)[|]([A-Z_]+)[|](.*)$" contact "${contact}")
    set(type ${CMAKE_MATCH_1})
    set(variable ${CMAKE_MATCH_2})
    set(address "${CMAKE_MATCH_3}")
    if(address STREQUAL "")
      continue()
    endif()
    if(NOT address MATCHES "^https?://[^ <>\"]+$")
      message(FATAL_ERROR "${variable} is \"${address}\"; set it to a web address (https://...) "
                          "or leave it empty.")
    endif()
    revora_xml_escape("${address}" address)
    string(APPEND urls "\n  <url type=\"${type}\">${address}</url>")
  endforeach()
  set(source "")
  if(NOT "${arg_HOMEPAGE}" STREQUAL "")
    set(source "\nSource: ${arg_HOMEPAGE}")
  endif()
  set(${arg_METAINFO_URLS} "${urls}" PARENT_SCOPE)
  set(${arg_COPYRIGHT_SOURCE} "${source}" PARENT_SCOPE)
endfunction()
