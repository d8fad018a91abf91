#pragma once

#include <QKeyEvent>
#include <cstdint>

#include "keys/KeyStroke.h"

// Turns a Qt key event into the key code and shift state that the key tables,
// the key map and the key list file use. The main window and the keystroke
// dialog both translate through here, so what one captures the other finds.
//
// Key codes, by Qt key (modifiers as in the event unless said otherwise):
//   Key_A .. Key_Z                     0x41 .. 0x5A
//   Key_0 .. Key_9                     0x30 .. 0x39; with KeypadModifier 0x60 .. 0x69
//   Key_F1 .. Key_F16                  0x70 .. 0x7F  (Key_F17 .. Key_F24: 0x80 .. 0x87)
//   keypad (with KeypadModifier)       Key_Asterisk 0x6A, Key_Plus 0x6B, Key_Minus 0x6D,
//                                      Key_Period and Key_Comma 0x6E, Key_Slash 0x6F,
//                                      Key_Equal 0x92
//   Key_Enter (the keypad's Enter)     0x6C;  Key_Return 0x0D
//   Key_Backspace 0x08, Key_Tab and Key_Backtab 0x09, Key_Clear 0x0C, Key_Pause 0x13,
//   Key_CapsLock 0x14, Key_Escape 0x1B, Key_Space 0x20, Key_PageUp 0x21, Key_PageDown 0x22,
//   Key_End 0x23, Key_Home 0x24, Key_Left 0x25, Key_Up 0x26, Key_Right 0x27, Key_Down 0x28,
//   Key_Select 0x29, Key_Printer 0x2A, Key_Execute 0x2B, Key_Print and Key_SysReq 0x2C,
//   Key_Insert 0x2D, Key_Delete 0x2E, Key_Help 0x2F, Key_Cancel 0x03,
//   Key_NumLock 0x90, Key_ScrollLock 0x91
//   Key_Shift 0x10, Key_Control 0x11, Key_Alt and Key_AltGr 0x12: pressed alone they also
//                                      carry their own shift bit, whatever the event says
//   punctuation, by the key that gives the character on a United States layout:
//     ` ~ 0xC0   - _ 0xBD   = + 0xBB   [ { 0xDB   ] } 0xDD   \ | 0xDC   ; : 0xBA
//     ' " 0xDE   , < 0xBC   . > 0xBE   / ? 0xBF
//     ) ! @ # $ % ^ & * (  0x30, 0x31, ... 0x39 (the digit keys)
//   keys the tables do not name, with the Windows code of the same key:
//     Key_Meta and Key_Super_L 0x5B, Key_Super_R 0x5C, Key_Menu 0x5D, Key_Sleep 0x5F,
//     browser keys 0xA6 .. 0xAC, volume keys 0xAD .. 0xAF, media keys 0xB0 .. 0xB3
//   every other key gets a code of its own above 0xFF, so that it never passes for a
//   described key, can be bound (the keystroke dialog takes codes above 32) and is
//   shown in the "0x" form:
//     character keys U+0080 .. U+3FFF (letters of other layouts, Latin-1 signs, kana)
//                                      the code point + 0x100: 0x0180 .. 0x40FF
//     Qt's other named keys 0x0101NNNN, 0x0102NNNN, 0x0110NNNN (NN below 0x100)
//                                      0x4100 + NN, 0x4200 + NN, 0x4300 + NN
//     Qt's other named keys 0x0100NNNN (dead keys, AltGr-level, IME and media keys
//     that have no code above; NNNN below 0x2000)
//                                      0x5000 + NNNN: 0x5000 .. 0x6FFF
//     anything else (Key_unknown, Qt key 0, higher code points)
//                                      0x7000 + native scan code (low 12 bits)
// Keypad navigation keys with Num Lock off (Qt reports Key_Home, Key_Down, ... with
// KeypadModifier) give the codes of the navigation keys, as the keypad does on the
// platform the codes come from; with Num Lock on they give the keypad digits.
//
// Shift state: 1 Shift, 2 Ctrl, 4 Alt, from the event's modifiers; Meta, keypad and
// group-switch modifiers are not part of it. A shifted character takes Shift from the
// event, not from the character: Shift+1 on a United States layout arrives as
// Key_Exclam with ShiftModifier and gives (0x31, 1).
KeyStroke KeyStrokeFromEvent(const QKeyEvent& event);

// The shift state of `modifiers`: 1 Shift, 2 Ctrl, 4 Alt.
std::int16_t ShiftStateFromModifiers(Qt::KeyboardModifiers modifiers);
