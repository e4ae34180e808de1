# Precompiled headers. Most of a translation unit's compile time here is spent reading
# the standard library, Qt and GoogleTest, the same few hundred thousand lines each time;
# compiling them once per target roughly halves the build. Only system headers go in, so
# a change to our own headers never invalidates them. Switch off with
# -DLUMACET_PRECOMPILED_HEADERS=OFF to check that every file names its own includes.
# Optimised builds leave them off: through a precompiled header GCC 12 no longer treats
# libstdc++ as a system header, and its false -Warray-bounds and -Wstringop-overflow
# reports inside std::string's inlined copies would reach our build output.
if(CMAKE_BUILD_TYPE STREQUAL "Debug")
  set(lumacet_pch_default ON)
else()
  set(lumacet_pch_default OFF)
endif()
option(LUMACET_PRECOMPILED_HEADERS "Precompile the system headers every target reads" ${lumacet_pch_default})

set(LUMACET_PCH_STD
  <algorithm> <array> <cmath> <cstdint> <cstdio> <cstring> <filesystem> <fstream> <functional>
  <map> <memory> <mutex> <optional> <set> <sstream> <string> <string_view> <thread>
  <unordered_map> <utility> <variant> <vector>)
set(LUMACET_PCH_QT
  <QAction> <QApplication> <QCheckBox> <QComboBox> <QDialog> <QDialogButtonBox> <QFileDialog>
  <QFormLayout> <QHBoxLayout> <QImage> <QLabel> <QLineEdit> <QListWidget> <QMainWindow> <QMenu>
  <QMessageBox> <QPainter> <QPushButton> <QSpinBox> <QString> <QTimer> <QVBoxLayout> <QWidget>)
set(LUMACET_PCH_TEST <gtest/gtest.h> <gmock/gmock.h>)

# lumacet_precompile(target GROUP name [QT] [TEST]): the standard library always, Qt Widgets
# and GoogleTest for the targets that read them. Targets of one group compile with the same
# flags (position-independent or not, as Qt asks), so the group's first target compiles
# the headers and the others reuse them.
function(lumacet_precompile target)
  if(NOT LUMACET_PRECOMPILED_HEADERS)
    return()
  endif()
  cmake_parse_arguments(PCH "QT;TEST" "GROUP" "" ${ARGN})
  get_property(first GLOBAL PROPERTY LUMACET_PCH_GROUP_${PCH_GROUP})
  if(first)
    target_precompile_headers(${target} REUSE_FROM ${first})
    return()
  endif()
  set_property(GLOBAL PROPERTY LUMACET_PCH_GROUP_${PCH_GROUP} ${target})
  set(headers ${LUMACET_PCH_STD})
  if(PCH_QT)
    list(APPEND headers ${LUMACET_PCH_QT})
  endif()
  if(PCH_TEST)
    list(APPEND headers ${LUMACET_PCH_TEST})
  endif()
  target_precompile_headers(${target} PRIVATE ${headers})
endfunction()
