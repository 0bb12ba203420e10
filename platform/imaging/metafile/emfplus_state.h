// The EMF+ records that change the drawing state: transforms, saved states and containers,
// clipping and the rendering hints.
#pragma once

#include "platform/imaging/metafile/emfplus_playback.h"

namespace platform::metafile {

void PlaySetWorldTransform(PlusPlayback& play, const PlusRecord& record);
void PlayResetWorldTransform(PlusPlayback& play, const PlusRecord& record);
void PlayMultiplyWorldTransform(PlusPlayback& play, const PlusRecord& record);
void PlayTranslateWorldTransform(PlusPlayback& play, const PlusRecord& record);
void PlayScaleWorldTransform(PlusPlayback& play, const PlusRecord& record);
void PlayRotateWorldTransform(PlusPlayback& play, const PlusRecord& record);
void PlaySetPageTransform(PlusPlayback& play, const PlusRecord& record);

void PlaySave(PlusPlayback& play, const PlusRecord& record);
void PlayRestore(PlusPlayback& play, const PlusRecord& record);
void PlayBeginContainer(PlusPlayback& play, const PlusRecord& record);
void PlayBeginContainerNoParams(PlusPlayback& play, const PlusRecord& record);

void PlayResetClip(PlusPlayback& play, const PlusRecord& record);
void PlaySetClipRect(PlusPlayback& play, const PlusRecord& record);
void PlaySetClipPath(PlusPlayback& play, const PlusRecord& record);
void PlaySetClipRegion(PlusPlayback& play, const PlusRecord& record);
void PlayOffsetClip(PlusPlayback& play, const PlusRecord& record);

void PlaySetRenderingOrigin(PlusPlayback& play, const PlusRecord& record);
void PlaySetAntiAliasMode(PlusPlayback& play, const PlusRecord& record);
void PlaySetTextRenderingHint(PlusPlayback& play, const PlusRecord& record);
void PlaySetTextContrast(PlusPlayback& play, const PlusRecord& record);
void PlaySetInterpolationMode(PlusPlayback& play, const PlusRecord& record);
void PlaySetPixelOffsetMode(PlusPlayback& play, const PlusRecord& record);
void PlaySetCompositingMode(PlusPlayback& play, const PlusRecord& record);
void PlaySetCompositingQuality(PlusPlayback& play, const PlusRecord& record);

}  // namespace platform::metafile
