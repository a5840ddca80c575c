# SPDX-License-Identifier: GPL-3.0-or-later
# Static libraries built from Debian's juce-modules-source-data: juce_core and the VST3 SDK
# sources the bindings use. They are compiled from the installed package, never copied.

set(PARVEL_JUCE_MODULES /usr/share/juce/modules CACHE PATH "JUCE modules folder")
set(PARVEL_VST3_SDK ${PARVEL_JUCE_MODULES}/juce_audio_processors/format_types/VST3_SDK
    CACHE PATH "VST3 SDK folder")

find_package(Threads REQUIRED)
find_package(ZLIB REQUIRED)

if(NOT EXISTS ${PARVEL_JUCE_MODULES}/juce_core/juce_core.cpp)
    message(FATAL_ERROR "juce_core not found in ${PARVEL_JUCE_MODULES}: install juce-modules-source-data")
endif()

add_library(juce_core STATIC ${PARVEL_JUCE_MODULES}/juce_core/juce_core.cpp)
target_include_directories(juce_core SYSTEM PUBLIC ${PARVEL_JUCE_MODULES})
target_compile_definitions(juce_core PUBLIC
    JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
    JUCE_STANDALONE_APPLICATION=0
    JUCE_USE_CURL=0
    JUCE_MODULE_AVAILABLE_juce_core=1
    JUCE_INCLUDE_ZLIB_CODE=0
    JUCE_DONT_DECLARE_PROJECTINFO=1
    $<$<CONFIG:Debug>:DEBUG=1>
    $<$<NOT:$<CONFIG:Debug>>:NDEBUG=1>)
target_compile_options(juce_core PRIVATE -w)
target_link_libraries(juce_core PUBLIC ZLIB::ZLIB Threads::Threads ${CMAKE_DL_LIBS})

set(_sdk ${PARVEL_VST3_SDK})
add_library(vst3_sdk STATIC
    ${_sdk}/pluginterfaces/base/conststringtable.cpp
    ${_sdk}/pluginterfaces/base/coreiids.cpp
    ${_sdk}/pluginterfaces/base/funknown.cpp
    ${_sdk}/pluginterfaces/base/ustring.cpp
    ${_sdk}/base/source/baseiids.cpp
    ${_sdk}/base/source/fbuffer.cpp
    ${_sdk}/base/source/fdebug.cpp
    ${_sdk}/base/source/fobject.cpp
    ${_sdk}/base/source/fstreamer.cpp
    ${_sdk}/base/source/fstring.cpp
    ${_sdk}/base/source/updatehandler.cpp
    ${_sdk}/base/thread/source/flock.cpp
    ${_sdk}/public.sdk/source/common/memorystream.cpp
    ${_sdk}/public.sdk/source/common/pluginview.cpp
    ${_sdk}/public.sdk/source/vst/vstbus.cpp
    ${_sdk}/public.sdk/source/vst/vstcomponent.cpp
    ${_sdk}/public.sdk/source/vst/vstcomponentbase.cpp
    ${_sdk}/public.sdk/source/vst/vsteditcontroller.cpp
    ${_sdk}/public.sdk/source/vst/vstinitiids.cpp
    ${_sdk}/public.sdk/source/vst/vstparameters.cpp)
target_include_directories(vst3_sdk SYSTEM PUBLIC ${_sdk})
target_compile_definitions(vst3_sdk PUBLIC RELEASE=1)
target_compile_options(vst3_sdk PRIVATE -w)
target_link_libraries(vst3_sdk PUBLIC Threads::Threads)
