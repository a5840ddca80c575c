# SPDX-License-Identifier: GPL-3.0-or-later
# Tests of the per-user defaults and the settings file; included by tests/effect/CMakeLists.txt.
target_sources(effect_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/EffectDefaultsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SettingsFileTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SettingsFuzzTest.cpp)
target_link_libraries(effect_tests PRIVATE parvel_settings)
