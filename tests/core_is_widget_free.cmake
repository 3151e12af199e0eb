# The core must never reach for widgets or the GUI module: every rule is tested
# without a display, and the command-line tool links the core alone. The file list
# is the core targets' own sources, written at configure time (CORE_SOURCES).
file(STRINGS ${CORE_SOURCES} core_files)
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
if(n LESS 30)
  message(FATAL_ERROR "Only ${n} core files listed in ${CORE_SOURCES}: the list is incomplete")
endif()
message(STATUS "${n} core files checked, none includes a widget header")
