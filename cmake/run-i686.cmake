# How the 32-bit Linux build's programs run: directly where the kernel runs i386 programs, else
# under qemu-i386-static (user-mode emulation: no kernel setting, no binfmt registration). A
# tiny program is built and started to find out; the kernel's configuration and the name of the
# machine do not say it. An emulator given with -DCMAKE_CROSSCOMPILING_EMULATOR is kept.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  return()
endif()
set(probe_dir ${CMAKE_BINARY_DIR}/CMakeFiles/run-i686)
file(WRITE ${probe_dir}/probe.c "int main(void) { return sizeof(void*) == 4 ? 0 : 1; }\n")
try_compile(probe_built ${probe_dir}/build ${probe_dir}/probe.c
            COPY_FILE ${probe_dir}/probe OUTPUT_VARIABLE probe_log)
if(NOT probe_built)
  message(FATAL_ERROR "cannot build a 32-bit program (package g++-multilib):\n${probe_log}")
endif()
execute_process(COMMAND ${probe_dir}/probe RESULT_VARIABLE probe_result
                OUTPUT_QUIET ERROR_VARIABLE probe_error)
if(probe_result EQUAL 0)
  message(STATUS "32-bit programs run directly on this machine")
  return()
endif()
string(STRIP "${probe_result} ${probe_error}" probe_error)
find_program(LUNET_QEMU_I386 qemu-i386-static)
if(NOT LUNET_QEMU_I386)
  message(FATAL_ERROR "this machine does not run 32-bit programs (${probe_error}) "
                      "and qemu-i386-static is missing (package qemu-user-static)")
endif()
execute_process(COMMAND ${LUNET_QEMU_I386} ${probe_dir}/probe RESULT_VARIABLE probe_result)
if(NOT probe_result EQUAL 0)
  message(FATAL_ERROR "${LUNET_QEMU_I386} cannot run a 32-bit program either (${probe_result})")
endif()
message(STATUS "32-bit programs run under ${LUNET_QEMU_I386}: this machine does not run them "
               "(${probe_error})")
set(CMAKE_CROSSCOMPILING_EMULATOR ${LUNET_QEMU_I386} CACHE STRING
    "How the 32-bit programs are run on this machine" FORCE)
