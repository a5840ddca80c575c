# SPDX-License-Identifier: GPL-3.0-or-later
# The per-user defaults and their settings file; included by effect/CMakeLists.txt.
add_library(parvel_settings STATIC
    ${CMAKE_CURRENT_LIST_DIR}/EffectDefaults.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SettingsFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XmlNumberText.cpp)
target_include_directories(parvel_settings PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(parvel_settings PUBLIC juce_core parvel_core PRIVATE parvel_warnings)
