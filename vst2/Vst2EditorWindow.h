// SPDX-License-Identifier: GPL-3.0-or-later
// What the VST2 binding needs of the attached editor beyond IEditorLink: its size and a native
// window in the host's parent window. The graphics core and its window (Windows only) are not
// part of this build yet, so no window can be opened: the binding then advertises no editor,
// effEditOpen answers 0 and effEditGetRect has no rectangle to give. The editor's arrival
// replaces these bodies with the graphics core's calls; the binding's editor paths stay as
// they are.
#pragma once

#include "IEditorLink.h"

namespace Vst2EditorWindow
{
// True when a window for editor can be opened in a host window on this platform.
inline bool CanOpen(const IEditorLink* editor)
{
    (void) editor;
    return false;
}

// The editor's size in pixels; false when it has none to give.
inline bool Size(const IEditorLink* editor, int& width, int& height)
{
    (void) editor;
    width = height = 0;
    return false;
}

// Opens the editor's window as a child of the host's parent window; false when none opened.
inline bool Open(IEditorLink* editor, void* parent)
{
    (void) editor;
    (void) parent;
    return false;
}

inline void Close(IEditorLink* editor)
{
    (void) editor;
}
} // namespace Vst2EditorWindow
