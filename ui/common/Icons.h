#pragma once

#include <QIcon>

// The program's pictures, drawn in code.
namespace icons {

enum class Picture {
    NewAthlete,
    Search,
    DeleteAthlete,
    ChangeAthlete,
    ShowAll,
    Exit,
    StartMeasurement,
    Settings,
    TriggerEdge,
    Export,
    TestDay,
};

// Every picture, for those who walk them all.
inline constexpr Picture kAllPictures[] = {
    Picture::NewAthlete,  Picture::Search, Picture::DeleteAthlete,    Picture::ChangeAthlete,
    Picture::ShowAll,     Picture::Exit,   Picture::StartMeasurement, Picture::Settings,
    Picture::TriggerEdge, Picture::Export, Picture::TestDay,
};

QIcon image(Picture picture);

} // namespace icons
