# The Windows zip, Vellumo-VERSION-win64.zip: one folder of that name with
# vellumo.exe and vellumo-pack.exe, the DLLs they load (the LGPL libraries,
# kept as separate files a user may replace), the demo show in "Demo",
# README.txt and the licence texts of everything bundled in "licenses".
# `cpack -G ZIP -B DIR` in the build folder writes it into DIR
# (scripts/windows.sh: build-windows/). Included at the end of the Windows
# build, which defines the targets vellumo and vellumo-pack.

set(VLO_WINDOWS_DEMO_SHOW "" CACHE PATH "A finished demo show folder (data.zuo and its music) for the zip")

# Windows' own DLLs, which the programs and the bundled DLLs may import; any
# other import must come from the library prefix, or packaging fails.
set(VLO_WINDOWS_SYSTEM_DLLS
    advapi32 bcrypt cfgmgr32 comctl32 comdlg32 dwmapi gdi32 glu32 hid imm32 kernel32 msvcrt ole32 oleaut32
    opengl32 setupapi shcore shell32 shlwapi user32 uxtheme version winmm ws2_32)

install(TARGETS vellumo vellumo-pack RUNTIME DESTINATION .)

# At install time, cmake/WindowsDlls.cmake copies every DLL the two programs
# import, directly or through another DLL, from the prefix's bin folder.
install(CODE "
  set(VLO_PROGRAMS \"$<TARGET_FILE:vellumo>;$<TARGET_FILE:vellumo-pack>\")
  set(VLO_DLL_FOLDER \"${VLO_WINDOWS_PREFIX}/bin\")
  set(VLO_SYSTEM_DLLS \"${VLO_WINDOWS_SYSTEM_DLLS}\")
  set(VLO_OBJDUMP \"${CMAKE_OBJDUMP}\")
  set(VLO_STRIP \"${CMAKE_STRIP}\")")
install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/WindowsDlls.cmake)

# Windows line ends, for Notepad.
configure_file(${PROJECT_SOURCE_DIR}/data/windows/README.txt.in ${PROJECT_BINARY_DIR}/README.txt @ONLY
               NEWLINE_STYLE WIN32)
install(FILES ${PROJECT_BINARY_DIR}/README.txt DESTINATION .)

# Each library's licence, collected by scripts/windows-deps.sh from its
# source package.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION licenses/Vellumo)
install(DIRECTORY ${VLO_WINDOWS_PREFIX}/share/vellumo-licenses/ DESTINATION licenses)

if(VLO_WINDOWS_DEMO_SHOW)
  install(DIRECTORY ${VLO_WINDOWS_DEMO_SHOW}/ DESTINATION Demo PATTERN "data.zuo.temp*" EXCLUDE)
else()
  message(WARNING "VLO_WINDOWS_DEMO_SHOW is not set: the zip gets no demo show")
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Vellumo)
set(CPACK_PACKAGE_VENDOR Vellumo)
set(CPACK_PACKAGE_FILE_NAME Vellumo-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# The programs are built with debugging information; the zip carries them
# (and the DLLs) without it.
set(CPACK_STRIP_FILES ON)
include(CPack)
