// The plug-in's options: one process-wide record, one signed 32-bit field per
// INI key plus MinUnread. A flag is on when it is non-zero.
#pragma once

#include <cstdint>

namespace settings {

struct SettingsRecord {
    int32_t ConvToDoc;
    int32_t MeDocIndex;
    int32_t DoRead;
    int32_t TrimSubject;
    int32_t SubFolder;
    int32_t TrimFrom;
    int32_t ConvDate;
    int32_t UniqID;
    int32_t InstallUser;
    int32_t MinUnread;
    // On: each message is decoded from MIME and its charset into plain code
    // page 932 before it is written. A dialog check box, saved at detach.
    int32_t DecodeMime;
    // On: the document gets a standard Palm DOC bookmark at every message,
    // which nearly every Doc reader lists. A dialog check box, saved at detach.
    int32_t Bookmarks;
};

// What a missing INI key gives; MinUnread is never stored and starts at 0.
constexpr SettingsRecord kDefaultSettings = {
    /*ConvToDoc=*/1, /*MeDocIndex=*/1, /*DoRead=*/1, /*TrimSubject=*/1, /*SubFolder=*/0,
    /*TrimFrom=*/0,  /*ConvDate=*/0,   /*UniqID=*/'a', /*InstallUser=*/0, /*MinUnread=*/0,
    /*DecodeMime=*/0, /*Bookmarks=*/0,
};

// All zero until LoadSettings runs at attach.
extern SettingsRecord PluginSettings;

}  // namespace settings
