# SPDX-License-Identifier: GPL-3.0-or-later
# Most of the build's time goes to parsing the same Qt headers again in every source file. Two
# precompiled headers, one for code on QtCore alone and one for widget code, are each built
# once and reused by every target of their kind:
#
#   brightsum_precompile_qt(<target> CORE|WIDGETS)
#
# A precompiled header only serves code compiled with every macro it was built with, defined
# the same way. So each is built by a target of its own that links nothing but its Qt module;
# targets that define more (the tests' QT_TESTLIB_LIB and folder names, for one) may still use
# it, as long as Qt's headers in it never test those macros (QtTest's do, so they are left
# out). A target that picks the wrong kind is refused by the compiler (clang stops; g++ warns
# with -Winvalid-pch, an error in CI) rather than silently parsing everything again.
#
# With clang this takes some 40 % off the debug and sanitizer builds. g++'s precompiled
# headers are memory images of some 200 MB that take about as long to load as the headers take
# to parse. The release preset switches them off, which also proves that every file includes
# what it uses.

set(_brightsum_qt_core_headers
    <QtCore/QByteArray>
    <QtCore/QCoreApplication>
    <QtCore/QDateTime>
    <QtCore/QDir>
    <QtCore/QFile>
    <QtCore/QFileInfo>
    <QtCore/QMetaObject>
    <QtCore/QObject>
    <QtCore/QProcess>
    <QtCore/QSharedPointer>
    <QtCore/QString>
    <QtCore/QStringList>
    <QtCore/QTemporaryDir>
    <QtCore/QThread>
    <QtCore/QTimer>
    <QtCore/QUrl>
    <QtCore/QVariant>)

set(_brightsum_qt_widgets_headers
    ${_brightsum_qt_core_headers}
    <QtGui/QAction>
    <QtGui/QColor>
    <QtGui/QFont>
    <QtGui/QIcon>
    <QtGui/QImage>
    <QtGui/QKeyEvent>
    <QtGui/QPainter>
    <QtGui/QPixmap>
    <QtWidgets/QApplication>
    <QtWidgets/QLabel>
    <QtWidgets/QListWidget>
    <QtWidgets/QMenu>
    <QtWidgets/QMenuBar>
    <QtWidgets/QMessageBox>
    <QtWidgets/QPushButton>
    <QtWidgets/QWidget>)

# CMake builds a target's precompiled header only alongside a source of its own.
set(_brightsum_pch_source "${CMAKE_BINARY_DIR}/brightsum_qt_pch.cpp")
file(CONFIGURE OUTPUT "${_brightsum_pch_source}" CONTENT "// Builds the precompiled Qt headers.\n")

add_library(brightsum_qt_core_pch OBJECT "${_brightsum_pch_source}")
target_link_libraries(brightsum_qt_core_pch PRIVATE Qt6::Core)
target_precompile_headers(brightsum_qt_core_pch PRIVATE ${_brightsum_qt_core_headers})

add_library(brightsum_qt_widgets_pch OBJECT "${_brightsum_pch_source}")
target_link_libraries(brightsum_qt_widgets_pch PRIVATE Qt6::Widgets)
target_precompile_headers(brightsum_qt_widgets_pch PRIVATE ${_brightsum_qt_widgets_headers})

function(brightsum_precompile_qt target kind)
    if(kind STREQUAL "CORE")
        target_precompile_headers(${target} REUSE_FROM brightsum_qt_core_pch)
    elseif(kind STREQUAL "WIDGETS")
        target_precompile_headers(${target} REUSE_FROM brightsum_qt_widgets_pch)
    else()
        message(FATAL_ERROR "brightsum_precompile_qt: kind must be CORE or WIDGETS, not ${kind}")
    endif()
endfunction()
