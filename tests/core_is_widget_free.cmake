# The core must never reach for widgets or the GUI module: every rule is tested
# without a display, and the command-line tool links the core alone.
file(GLOB core_files
  ${ROOT}/params/*.h ${ROOT}/params/*.cpp
  ${ROOT}/link/*.h ${ROOT}/link/*.cpp
  ${ROOT}/emulator/*.h ${ROOT}/emulator/*.cpp
  ${ROOT}/report/content*.h ${ROOT}/report/content*.cpp
  ${ROOT}/shell/prompter.h ${ROOT}/shell/errortrap.h ${ROOT}/shell/errortrap.cpp
  ${ROOT}/shell/branding.h ${ROOT}/shell/branding.cpp ${ROOT}/shell/about.h ${ROOT}/shell/about.cpp)
set(bad "")
foreach(f ${core_files})
  file(STRINGS ${f} lines REGEX "#[ \t]*include[ \t]*[<\"](QtWidgets|QtGui|QtPrintSupport|QWidget|QMessageBox|QDialog|QApplication|QPrinter|QColor)")
  if(lines)
    list(APPEND bad "${f}: ${lines}")
  endif()
endforeach()
if(bad)
  message(FATAL_ERROR "Widget or GUI includes in the core:\n${bad}")
endif()
list(LENGTH core_files n)
message(STATUS "${n} core files checked, none includes a widget header")
