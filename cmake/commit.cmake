# Writes HEADER: the release's VERSION and NUMBERS, and the commit of the checkout SOURCE, or a
# plain fallback where git cannot say it. Rewritten only when it would change.
#   cmake -DSOURCE=DIR -DHEADER=FILE -DVERSION=1.2.3 -DNUMBERS=1,2,3,0 -P commit.cmake
execute_process(COMMAND git -C ${SOURCE} rev-parse --verify HEAD
                OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE no_git ERROR_QUIET)
if(no_git)
  set(commit "unknown (not built from a git checkout)")
else()
  # Tracked files changed since the commit: the build is not that commit's.
  execute_process(COMMAND git -C ${SOURCE} status --porcelain --untracked-files=no
                  OUTPUT_VARIABLE changes ERROR_QUIET)
  if(changes)
    string(APPEND commit " with uncommitted changes")
  endif()
endif()
set(text "// Written at every build by cmake/commit.cmake: the release's version and commit.
#define LUNET_VERSION \"${VERSION}\"
#define LUNET_VERSION_NUMBERS ${NUMBERS}
#define LUNET_COMMIT \"${commit}\"
#define LUNET_COMMIT_COMMENT \"commit ${commit}\"
")
if(EXISTS ${HEADER})
  file(READ ${HEADER} old)
  if(old STREQUAL text)
    return()
  endif()
endif()
file(WRITE ${HEADER} "${text}")
