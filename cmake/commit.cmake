# Writes HEADER: the release's VERSION and NUMBERS, and the commit of the checkout SOURCE, or a
# plain fallback where git cannot say it. Rewritten only when it would change.
#   cmake -DSOURCE=DIR -DHEADER=FILE -DVERSION=1.2.3 -DNUMBERS=1,2,3,0 -P commit.cmake
execute_process(COMMAND git -C ${SOURCE} rev-parse --verify HEAD
                OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE no_git ERROR_QUIET)
set(modified 0)
if(no_git)
  set(commit "")
  set(comment "not built from a git checkout")
else()
  # Tracked files changed since the commit: the build is not that commit's.
  execute_process(COMMAND git -C ${SOURCE} status --porcelain --untracked-files=no
                  OUTPUT_VARIABLE changes ERROR_QUIET)
  set(comment "commit ${commit}")
  if(changes)
    set(modified 1)
    string(APPEND comment " with uncommitted changes")
  endif()
endif()
set(text "// Written at every build by cmake/commit.cmake: the release's version and commit.
#define LUNET_VERSION \"${VERSION}\"
#define LUNET_VERSION_NUMBERS ${NUMBERS}
// The commit's full hash, empty outside a git checkout; 1 when tracked files differ from it.
#define LUNET_COMMIT \"${commit}\"
#define LUNET_COMMIT_MODIFIED ${modified}
// The version resources' Comments, in English as their string table is.
#define LUNET_COMMIT_COMMENT \"${comment}\"
")
if(EXISTS ${HEADER})
  file(READ ${HEADER} old)
  if(old STREQUAL text)
    return()
  endif()
endif()
file(WRITE ${HEADER} "${text}")
