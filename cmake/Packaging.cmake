# The desktop files (icon, metainfo, file type, manual pages, documentation) and the Debian
# package that carries them (`cpack -G DEB`; scripts/package.sh runs it on the release build).
# The project version is the one version: the reader's --version, the package, the manual
# pages and the metainfo release all take it from project().
include(GNUInstallDirs)

set(PAGLY_DATA_DIR ${CMAKE_SOURCE_DIR}/data)
set(PAGLY_GENERATED_DIR ${CMAKE_BINARY_DIR}/data)
set(PAGLY_CHANGELOG ${PAGLY_DATA_DIR}/packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PAGLY_CHANGELOG} ${CMAKE_SOURCE_DIR}/README.md)

# The packaging changelog's newest entry is this release: its version must be the project's
# (a forgotten entry stops the build instead of shipping a stale changelog), and its date is
# the release date of the manual pages and the metainfo.
file(STRINGS ${PAGLY_CHANGELOG} _pagly_entry LIMIT_COUNT 1)
if(NOT _pagly_entry MATCHES "^pagly \\(([^)]+)\\) ")
  message(FATAL_ERROR "${PAGLY_CHANGELOG}: the first line must read `pagly (VERSION) ...`")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "${PAGLY_CHANGELOG} begins with version ${CMAKE_MATCH_1} but the project "
                      "is ${PROJECT_VERSION}: add a changelog entry for ${PROJECT_VERSION}")
endif()
file(STRINGS ${PAGLY_CHANGELOG} _pagly_trailer REGEX "^ -- " LIMIT_COUNT 1)
if(NOT _pagly_trailer MATCHES ", ([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "${PAGLY_CHANGELOG}: the first entry has no ` -- NAME <MAIL>  DATE` line")
endif()
set(_pagly_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND _pagly_months ${CMAKE_MATCH_2} _pagly_month)
math(EXPR _pagly_month "${_pagly_month} + 1")
math(EXPR _pagly_day "${CMAKE_MATCH_1}")
foreach(_part _pagly_month _pagly_day)
  if(${_part} LESS 10)
    set(${_part} "0${${_part}}")
  endif()
endforeach()
set(PAGLY_RELEASE_DATE "${CMAKE_MATCH_3}-${_pagly_month}-${_pagly_day}")

# The KEYS section of pagly(1) is the README's key table ("| to | do |") in roff, so that the
# manual page and the README cannot disagree.
# (CMake's lists split at ";" and group by brackets: the text holds stand-ins for those while
# it is a list.)
file(READ ${CMAKE_SOURCE_DIR}/README.md _pagly_readme)
string(REPLACE ";" "@SEMICOLON@" _pagly_readme "${_pagly_readme}")
string(REPLACE "[" "@OPEN@" _pagly_readme "${_pagly_readme}")
string(REPLACE "]" "@CLOSE@" _pagly_readme "${_pagly_readme}")
string(REPLACE "\n" ";" _pagly_readme "${_pagly_readme}")
set(PAGLY_KEYS "")
set(_pagly_in_table OFF)
foreach(_line IN LISTS _pagly_readme)
  if(_line STREQUAL "| to | do |")
    set(_pagly_in_table ON)
  elseif(_pagly_in_table AND NOT _line MATCHES "^\\|")
    break()
  elseif(_pagly_in_table AND NOT _line MATCHES "^\\|---")
    if(NOT _line MATCHES "^\\| (.+) \\| (.+) \\|$")
      message(FATAL_ERROR "README.md: a key table row is not `| to | do |`: ${_line}")
    endif()
    set(_goal "${CMAKE_MATCH_1}")
    set(_how "${CMAKE_MATCH_2}")
    foreach(_cell _goal _how)
      string(REPLACE "\\" "\\e" ${_cell} "${${_cell}}")
      string(REPLACE "`" "" ${_cell} "${${_cell}}")
      string(REPLACE "×" "\\(mu" ${_cell} "${${_cell}}")
      string(REGEX REPLACE "^([.'])" "\\\\&\\1" ${_cell} "${${_cell}}")
    endforeach()
    string(APPEND PAGLY_KEYS ".TP\n${_goal}\n${_how}\n")
  endif()
endforeach()
if(PAGLY_KEYS STREQUAL "")
  message(FATAL_ERROR "README.md has no key table (a `| to | do |` table) for pagly(1)")
endif()
string(REGEX REPLACE "\n$" "" PAGLY_KEYS "${PAGLY_KEYS}")
string(REPLACE "@SEMICOLON@" ";" PAGLY_KEYS "${PAGLY_KEYS}")
string(REPLACE "@OPEN@" "[" PAGLY_KEYS "${PAGLY_KEYS}")
string(REPLACE "@CLOSE@" "]" PAGLY_KEYS "${PAGLY_KEYS}")

# Manual pages, gzipped as Debian wants them (-n: no name or time stamp, the same bytes on
# every build).
set(_pagly_commands pagly pagly-check)
if(TARGET pagly-import)
  list(APPEND _pagly_commands pagly-import)
endif()
set(_pagly_outputs "")
foreach(_command IN LISTS _pagly_commands)
  set(_page ${PAGLY_GENERATED_DIR}/man/${_command}.1)
  configure_file(${PAGLY_DATA_DIR}/man/${_command}.1.in ${_page} @ONLY)
  add_custom_command(OUTPUT ${_page}.gz COMMAND gzip -9n -c ${_page} > ${_page}.gz
                     DEPENDS ${_page} VERBATIM)
  list(APPEND _pagly_outputs ${_page}.gz)
  install(FILES ${_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

set(_pagly_changelog_gz ${PAGLY_GENERATED_DIR}/changelog.gz)
add_custom_command(OUTPUT ${_pagly_changelog_gz}
                   COMMAND gzip -9n -c ${PAGLY_CHANGELOG} > ${_pagly_changelog_gz}
                   DEPENDS ${PAGLY_CHANGELOG} VERBATIM)
list(APPEND _pagly_outputs ${_pagly_changelog_gz})

# The icon: the SVG, and PNGs in the sizes desktops and software centres ask for.
set(_pagly_icon ${PAGLY_DATA_DIR}/icons/pagly.svg)
install(FILES ${_pagly_icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
find_program(PAGLY_RSVG_CONVERT rsvg-convert)
if(PAGLY_RSVG_CONVERT)
  foreach(_size 16 24 32 48 64 128 256)
    set(_png ${PAGLY_GENERATED_DIR}/icons/${_size}x${_size}/pagly.png)
    add_custom_command(
      OUTPUT ${_png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PAGLY_GENERATED_DIR}/icons/${_size}x${_size}
      COMMAND ${PAGLY_RSVG_CONVERT} -w ${_size} -h ${_size} -o ${_png} ${_pagly_icon}
      DEPENDS ${_pagly_icon} VERBATIM)
    list(APPEND _pagly_outputs ${_png})
    install(FILES ${_png}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps)
  endforeach()
else()
  message(WARNING "rsvg-convert (Debian package librsvg2-bin) is missing: the icon is installed "
                  "as SVG only; scripts/setup.sh installs it")
endif()
add_custom_target(pagly_desktop_files ALL DEPENDS ${_pagly_outputs})

# A stripped install (the package's) also drops the compilers' .comment notes, as Debian's
# own packages do.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP AND EXISTS \"${CMAKE_OBJCOPY}\")
    foreach(_command pagly pagly-check pagly-import)
      set(_file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${_command}\")
      if(EXISTS \"\${_file}\")
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment \"\${_file}\")
      endif()
    endforeach()
  endif()")

configure_file(${PAGLY_DATA_DIR}/io.github.pagly.pagly.metainfo.xml.in
               ${PAGLY_GENERATED_DIR}/io.github.pagly.pagly.metainfo.xml @ONLY)
install(FILES ${PAGLY_GENERATED_DIR}/io.github.pagly.pagly.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PAGLY_DATA_DIR}/pagly-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME pagly.xml)
install(FILES ${PAGLY_DATA_DIR}/packaging/copyright ${_pagly_changelog_gz}
              ${CMAKE_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package. Depends come from the binaries (dpkg-shlibdeps) plus what they open at
# run time: SDL_mixer (loaded with dlopen, so shlibdeps cannot see it; Mix_MusicDuration needs
# 2.6) and the fonts the books ask for by name (Arial is matched to Liberation Sans). The
# importer's browser is a Recommends: without it the reader still reads its own books.
# The desktop, icon and MIME databases are refreshed by their packages' dpkg triggers, so
# the package needs no maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME pagly)
set(CPACK_PACKAGE_VENDOR "pagly developers")
set(CPACK_PACKAGE_CONTACT "pagly developers <pagly@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "talking textbook reader for learners of English")
# The summary is the synopsis line; this is the extended description under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "pagly shows a course book page by page and speaks it: click a sentence to
hear it and see its note, let a page read itself aloud, slow the speech
down without changing its pitch, and turn pages with a page curl or a swipe.
Everything works with only a mouse, only a touch screen or only a keyboard.

It comes with the sample course book \"Hello English!\", opens Bloom talking
books (.bloompub) and EPUB 3 read-aloud books, and carries the book checker
pagly-check and the book importer pagly-import.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl2-mixer-2.0-0 (>= 2.6.0), fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "chromium")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
