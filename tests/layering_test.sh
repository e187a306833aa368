#!/usr/bin/env bash
# The layering checks: the sources pass, and each kind of step up or sideways is caught in a small
# tree made for it, an #include line (scripts/check-layering.sh) or a link between the layers'
# libraries (cmake/Layering.cmake, run on a configure-only project of stand-in targets).
set -euo pipefail
check=$1
src=$2
cmake_dir=$(realpath "$3")
bash "$check" "$src" || { echo "FAIL: the sources include across layers"; exit 1; }

tmp=$(mktemp -d /tmp/pimavo-layering.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
status=0

# #include lines: expect|file under src/|its line
while IFS='|' read -r expect file line; do
    rm -rf "$tmp/src"
    mkdir -p "$tmp/src/$(dirname "$file")"
    printf '%s\n' "$line" >"$tmp/src/$file"
    if bash "$check" "$tmp/src" "$cmake_dir/layers.txt" 2>/dev/null; then got=pass; else got=fail; fi
    if [[ $got != "$expect" ]]; then
        echo "FAIL: expected $expect for $file: $line"
        status=1
    fi
done <<'CASES'
fail|canvas/A.cpp|#include "app/EditorWindow.h"
fail|widgets/B.h|#include "canvas/CanvasView.h"
fail|engine/C.cpp|  #  include "imageio/ImageDecoder.h"
fail|sharing/D.cpp|#include "picker/ColorPanel.h"
fail|import/E.cpp|#include "sharing/ShareDialog.h"
fail|sharing/services/F.cpp|#include "sharing/ShareDialog.h"
fail|sharing/services/G.h|#include "widgets/PopupList.h"
fail|app/H.cpp|#include "cli/ShareCommands.h"
pass|sharing/I.cpp|#include "sharing/services/PhotoService.h"
pass|toolbar/J.cpp|#include "picker/ColorSwatch.h"
pass|app/K.cpp|#include "sharing/ShareDialog.h"
pass|widgets/L.cpp|#include "ResourceImages.h"
pass|engine/M.cpp|#include "kernel/KernelLexer.h"
pass|cli/N.cpp|#include "import/CameraDevice.h"
CASES

# Links: expect|library|what it links
case_number=0
while IFS='|' read -r expect target deps; do
    case_number=$((case_number + 1))
    project=$tmp/links$case_number
    mkdir -p "$project"
    {
        echo "cmake_minimum_required(VERSION 3.25)"
        echo "project(layering_case NONE)"
        echo "include($cmake_dir/Layering.cmake)"
        echo "add_custom_target($target)"
        echo "set_property(TARGET $target PROPERTY LINK_LIBRARIES \"$deps\")"
    } >"$project/CMakeLists.txt"
    if cmake -S "$project" -B "$project/build" >/dev/null 2>&1; then got=pass; else got=fail; fi
    if [[ $got != "$expect" ]]; then
        echo "FAIL: expected $expect for $target linking $deps"
        status=1
    fi
done <<'CASES'
fail|pimavo_canvas|pimavo_app
fail|pimavo_widgets|pimavo_core;pimavo_canvas;pimavo_toolbar
fail|pimavo_sharing|pimavo_picker
fail|pimavo_import|pimavo_sharing
fail|pimavo_sharing_services|pimavo_widgets
fail|pimavo_sharing_services|Qt6::Widgets
fail|pimavo_engine|Qt6::Core
fail|pimavo_document|Qt6::Gui
pass|pimavo_sharing|pimavo_sharing_services;pimavo_widgets;Qt6::Widgets
pass|pimavo_toolbar|pimavo_picker;pimavo_widgets
pass|pimavo_sharing_services|pimavo_core;pimavo_imageio;Qt6::Network
pass|pimavo_document|pimavo_imageio;Qt6::Core
CASES
exit $status
