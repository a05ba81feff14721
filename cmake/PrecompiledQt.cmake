# SPDX-License-Identifier: GPL-3.0-or-later
# Most of the build's time goes to parsing the same Qt headers again in every source file. Two
# precompiled headers, one for code on QtCore alone and one for widget code, are each built
# once and reused by every target of their kind:
#
#   brightsum_precompile_qt(<target> CORE|WIDGETS)
#
# A precompiled header only serves code compiled with the macros it was built with. So each is
# built by a target of its own that links nothing but its Qt module, and a target may take it
# only if it links that module too and defines nothing that Qt's headers test. The tests'
# QT_TESTLIB_LIB and folder names are fine, since only QtTest's own headers test them and those
# are left out. g++ checks all of this and refuses a header that does not fit (-Winvalid-pch;
# `cmake --preset debug -DCMAKE_CXX_COMPILER=g++ -DBRIGHTSUM_WERROR=ON` makes it an error);
# clang only notices a macro defined two ways. A target whose own flags reach Qt's headers
# (ui/sound, with libcanberra's _REENTRANT) goes without.
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
