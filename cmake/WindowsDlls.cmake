# Install step of the Windows zip (see WindowsPackage.cmake): copies the DLLs
# that VLO_PROGRAMS import, directly or through each other, from
# VLO_DLL_FOLDER beside them. An import that is neither there nor one of
# Windows' own DLLs (VLO_SYSTEM_DLLS, names in lower case without ".dll")
# stops the packaging: the zip would not start on a clean Windows.

set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND "${VLO_OBJDUMP}")
file(GET_RUNTIME_DEPENDENCIES
  EXECUTABLES ${VLO_PROGRAMS}
  DIRECTORIES "${VLO_DLL_FOLDER}"
  RESOLVED_DEPENDENCIES_VAR vlo_dlls
  UNRESOLVED_DEPENDENCIES_VAR vlo_unresolved)

foreach(dll IN LISTS vlo_unresolved)
  string(TOLOWER "${dll}" name)
  string(REGEX REPLACE "\\.dll$" "" name "${name}")
  list(FIND VLO_SYSTEM_DLLS "${name}" index)
  if(index EQUAL -1 AND NOT name MATCHES "^api-ms-win-")
    message(FATAL_ERROR "${dll} is imported but is neither in ${VLO_DLL_FOLDER} nor a Windows DLL")
  endif()
endforeach()

foreach(dll IN LISTS vlo_dlls)
  file(INSTALL "${dll}" DESTINATION "${CMAKE_INSTALL_PREFIX}")
  if(CMAKE_INSTALL_DO_STRIP)
    get_filename_component(name "${dll}" NAME)
    execute_process(COMMAND "${VLO_STRIP}" --strip-unneeded "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${name}"
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
