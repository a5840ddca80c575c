// SPDX-License-Identifier: GPL-3.0-or-later
// What the plug-in base needs of an attached editor (the graphics core implements it). The
// base owns the attached editor and deletes it before anything else when it is destroyed.
#pragma once

class IEditorLink
{
public:
    virtual ~IEditorLink() = default;

    // Every control bound to paramIdx, and every auxiliary parameter slot of a control bound
    // to paramIdx, takes the normalised value. Used when the editor is attached.
    virtual void SetParamOnControls(int paramIdx, double normalized) = 0;
    // Every control bound to paramIdx takes the value (plain values are clamped and
    // normalised first) and is marked for redraw. May run on the audio thread with the lock held.
    virtual void PushParamToControls(int paramIdx, double value, bool isNormalized) = 0;
    // Creates the drawing surfaces for the editor's current width and height.
    virtual void PrepareDrawingSurfaces() = 0;
};
