// Every application's key maps, one per remote layout it serves. Each takes
// the scan code as an unsigned value and carries out at most one action;
// codes it does not list (-1 and 3852 among them, as a rule) do nothing.
#pragma once
#include <cstdint>

void OrbiskKeyMap(std::uint32_t code);
void OrbiskCenterKeyMap(std::uint32_t code);

void SavrinKeyMap41(std::uint32_t code);
void SavrinKeyMap36(std::uint32_t code);
void SavrinKeyMap35(std::uint32_t code);
void SavrinKeyMap44(std::uint32_t code);

void MediaCenterKeyMap41(std::uint32_t code);
void MediaCenterKeyMap36(std::uint32_t code);
void MediaCenterKeyMap35(std::uint32_t code);
void MediaCenterKeyMap44(std::uint32_t code);

// TotalMedia 3.5 and ArcSoft TV 5.0: one map shared by the 41-, 36- and
// 44-key layouts, one for the 35-key remote.
void TotalMedia35KeyMapShared(std::uint32_t code);
void TotalMedia35KeyMap35(std::uint32_t code);
void ArcSoftTV5KeyMapShared(std::uint32_t code);
void ArcSoftTV5KeyMap35(std::uint32_t code);

void PowerCinemaKeyMap(std::uint32_t code);
void TVEnhanceKeyMap(std::uint32_t code);
