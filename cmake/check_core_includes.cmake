# Fails when a source of the core library reaches for the user interface.
# The core is compiled without the Widgets and Gui include folders, so
# <QMessageBox> already fails there; this catches the spellings that the
# Qt include root still resolves (<QtWidgets/QMessageBox>) and our own
# form and widget headers.
# Called with -DSOURCES=<list> -DSTAMP=<file>.
set(bad)
foreach(f IN LISTS SOURCES)
  file(STRINGS "${f}" lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(line MATCHES "[<\"/](QtWidgets|QtGui|QtPrintSupport)[/>]"
       OR line MATCHES "\"widgets/"
       OR line MATCHES "[\"/]U[A-Za-z0-9_]+\\.h\"")
      list(APPEND bad "${f}: ${line}")
    endif()
  endforeach()
endforeach()
if(bad)
  list(JOIN bad "\n  " text)
  message(FATAL_ERROR "The core library must not include user-interface headers:\n  ${text}")
endif()
file(TOUCH "${STAMP}")
