# The Windows side: the program, its resources and skin, and the Windows test
# programs (component tests and the end-to-end driver).
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static -static-libgcc -static-libstdc++")
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
enable_language(RC)

set(SNAPCREST_WIN_LIBS gdiplus gdi32 user32 kernel32 ole32 oleaut32 uuid imm32 msimg32)

# Everything but the entry point, so that component tests can link it.
add_library(snapcrest_core STATIC
  framework/WinApp.cpp
  framework/Dialog.cpp
  framework/Wnd.cpp
  framework/FileDialog.cpp
  framework/ColorDialog.cpp
  platform/Gdiplus.cpp
  platform/Surface.cpp
  platform/HandleCount.cpp
  platform/ImageSave.cpp
  platform/ModulePaths.cpp
  platform/StartupClock.cpp
  platform/CommonDialogs.cpp
  platform/TrayIcon.cpp
  platform/BlendSprite.cpp
  platform/WindowPixels.cpp
  platform/FontQuality.cpp
  app/SnapcrestApp.cpp
  app/ShowPoint.cpp
  app/DeskBandLauncher.cpp
  capture/SnapcrestDlg.cpp
  capture/ScreenGrab.cpp
  capture/EarlySnapshot.cpp
  capture/BackdropDimming.cpp
  capture/SessionPaint.cpp
  capture/SessionReadout.cpp
  capture/SessionInput.cpp
  capture/SessionCommands.cpp
  capture/SessionShapes.cpp
  capture/SessionOutput.cpp
  capture/SessionText.cpp
  capture/PaintTiming.cpp
  tracker/MyTracker.cpp
  shapes/Shapes.cpp
  toolbar/ToolBars.cpp
  textentry/NoWndEdit.cpp
)
target_include_directories(snapcrest_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(snapcrest_core PUBLIC snapcrest_logic ${SNAPCREST_WIN_LIBS})

set(SNAPCREST_MANIFEST ${CMAKE_BINARY_DIR}/snapcrest.manifest)
configure_file(resources/snapcrest.manifest.in ${SNAPCREST_MANIFEST} @ONLY)
configure_file(resources/release.rc.in ${CMAKE_BINARY_DIR}/release.rc @ONLY)
add_executable(snapcrest WIN32 app/Main.cpp resources/snapcrest.rc ${CMAKE_BINARY_DIR}/release.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/release.rc PROPERTIES OBJECT_DEPENDS ${SNAPCREST_MANIFEST})
target_link_libraries(snapcrest PRIVATE snapcrest_core)
set_target_properties(snapcrest PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The skin travels beside the executable.
file(GLOB SKIN_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/skinScreen/*)
add_custom_command(TARGET snapcrest POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/skinScreen
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${SKIN_FILES} ${CMAKE_BINARY_DIR}/skinScreen
  VERBATIM)

set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_subdirectory(tests/support)
add_subdirectory(tests/component)
add_subdirectory(tests/e2e)

# Benchmarks (figures, not tests).
add_executable(snapbench tools/bench/snapbench.cpp)
target_link_libraries(snapbench PRIVATE e2e_support psapi)
