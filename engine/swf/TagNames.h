// Tag codes of the movie format and their names, for error texts.
#pragma once
#include <string>

namespace swf {

enum TagCode : int {
    TagEnd = 0, TagShowFrame = 1, TagDefineShape = 2, TagFreeCharacter = 3, TagPlaceObject = 4,
    TagRemoveObject = 5, TagDefineBits = 6, TagDefineButton = 7, TagJPEGTables = 8,
    TagSetBackgroundColor = 9, TagDefineFont = 10, TagDefineText = 11, TagDoAction = 12,
    TagDefineFontInfo = 13, TagDefineSound = 14, TagStartSound = 15, TagDefineButtonSound = 17,
    TagSoundStreamHead = 18, TagSoundStreamBlock = 19, TagDefineBitsLossless = 20,
    TagDefineBitsJPEG2 = 21, TagDefineShape2 = 22, TagDefineButtonCxform = 23, TagProtect = 24,
    TagPlaceObject2 = 26, TagRemoveObject2 = 28, TagDefineShape3 = 32, TagDefineText2 = 33,
    TagDefineButton2 = 34, TagDefineBitsJPEG3 = 35, TagDefineBitsLossless2 = 36,
    TagDefineEditText = 37, TagDefineSprite = 39, TagFrameLabel = 43, TagSoundStreamHead2 = 45,
    TagDefineMorphShape = 46, TagDefineFont2 = 48, TagExportAssets = 56, TagImportAssets = 57,
    TagEnableDebugger = 58, TagDoInitAction = 59, TagDefineVideoStream = 60, TagVideoFrame = 61,
    TagDefineFontInfo2 = 62, TagEnableDebugger2 = 64, TagScriptLimits = 65, TagSetTabIndex = 66,
    TagFileAttributes = 69, TagPlaceObject3 = 70, TagImportAssets2 = 71, TagDefineFontAlignZones = 73,
    TagCSMTextSettings = 74, TagDefineFont3 = 75, TagSymbolClass = 76, TagMetadata = 77,
    TagDefineScalingGrid = 78, TagDoABC = 82, TagDefineShape4 = 83, TagDefineMorphShape2 = 84,
    TagDefineSceneAndFrameLabelData = 86, TagDefineBinaryData = 87, TagDefineFontName = 88,
    TagStartSound2 = 89, TagDefineBitsJPEG4 = 90, TagDefineFont4 = 91, TagEnableTelemetry = 93,
};

std::string TagName(int code);

} // namespace swf
