# What Debian asks of every package beside the programs: the copyright file,
# the changelog and a manual page per program.

install(FILES copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Compressed without a name or time stamp (-n), so that the same sources give
# the same package.
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian)
add_custom_command(OUTPUT ${changelog}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/changelog ${changelog}
    COMMAND gzip -9nf ${changelog}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/changelog VERBATIM)
set(docs ${changelog}.gz)
install(FILES ${changelog}.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The manual pages are made from each program's --help, so they cannot fall
# behind it. The programs run by name from the build folder, so that their
# usage line reads as a clerk types it; the help is UTF-8 Korean, hence the
# locale. A page is dated by the changelog's last entry, not by the day of
# the build.
find_program(HELP2MAN help2man)
find_program(DPKG_PARSECHANGELOG dpkg-parsechangelog)
if(DPKG_PARSECHANGELOG)
    execute_process(COMMAND ${DPKG_PARSECHANGELOG} -l ${CMAKE_CURRENT_SOURCE_DIR}/changelog -S Timestamp
                    OUTPUT_VARIABLE changelog_time OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    set(page_date SOURCE_DATE_EPOCH=${changelog_time})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS changelog)
endif()
if(HELP2MAN)
    foreach(program voucher voucher-admin)
        set(page ${CMAKE_CURRENT_BINARY_DIR}/${program}.1)
        add_custom_command(OUTPUT ${page}.gz
            COMMAND ${CMAKE_COMMAND} -E env "PATH=$<TARGET_FILE_DIR:${program}>:$ENV{PATH}" ${page_date}
                    ${HELP2MAN} --locale=C.UTF-8 --no-info --section=1 --version-string=${PROJECT_VERSION}
                    --include=${CMAKE_CURRENT_SOURCE_DIR}/${program}.h2m --output=${page} ${program}
            COMMAND gzip -9nf ${page}
            DEPENDS ${program} ${CMAKE_CURRENT_SOURCE_DIR}/${program}.h2m VERBATIM)
        install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
        list(APPEND docs ${page}.gz)
    endforeach()
else()
    message(WARNING "help2man is missing: the package will have no manual pages "
                    "(scripts/install-deps.sh installs it)")
endif()
add_custom_target(debian_docs ALL DEPENDS ${docs})
