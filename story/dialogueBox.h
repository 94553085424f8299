// dialogueBox.h -- a conversation as the player steps through it: opening (by E or by a character
// that speaks first), the letter-by-letter typing, E to go on, the choice buttons taken with the
// mouse, a key or the pad and what they change, the two ways a conversation ends, and the box.
#pragma once

#include "shell/picture.h"

#include <SFML/Graphics/RenderTarget.hpp>

#include <string>

constexpr int kRowCharacters = 46; // characters in one row of the dialogue box

// Opens the conversation with `speaker` (a roster slot): its script is written for the story as
// it stands, it stops and stands facing the heroine, and its picture is kept for the end.
void openConversation(int speaker);

// The frame's automatic opening: a character that speaks first opens its talk as soon as it is
// the one in reach.
void openConversationOfCharacterInReach();

// After the frame's search for the character in reach: a character that spoke first and let her
// go while she was still in its reach (the push up stopped at a wall) speaks first again only once
// she has left that reach.
void noteTalkTarget();

// A message that takes the box over while a talk is open (a find taken during it): the talk is
// left where it was, its speaker walks on, a quest one of its choices moved the story to is
// announced by its chapter card once the message has ended (never under the box), and the message
// starts at its first line.
void interruptConversation();

// The typing tick: one more character of the line once 50 ms have passed since the last, while a
// conversation is open, its line not complete and no battle runs.
void typeDialogue();

// E pressed with no battle on: opens the talk with the character in reach, or, in an open one,
// completes the line being typed, or goes on to the next line (starting the battle at the
// speaker's battle line, or ending the conversation on an empty line). Nothing on the choice line.
void pressTalkKey();

// The choice buttons are showing: a talk is open on its choice line, typed whole.
bool choiceButtonsShowing();

// The choice buttons, whatever the device: each way of taking a choice takes it in one place, which
// does exactly what a click on that button does and leaves the trace a click leaves.
// After every window event: a left click on a shown choice button takes that choice.
void clickChoice();
// Takes button k (0 upper left, 1 upper right, 2 and 3 below) when it is shown.
void chooseButton(int k);
// Moves the highlight to the shown button before (-1) or after (1) it in reading order, staying at
// the last one; with none lit, the first push lights the end it points to.
void moveChoiceHighlight(int step);
// Takes the highlighted button; with none lit, lights the first.
void takeHighlightedChoice();

// The line being shown: the speaker's line at dialogueLine, or an empty line when the speaker or
// the line index lies outside the roster's tables.
const std::string& currentLine();

// Fills a line with blanks so that no word is split at the end of a row of 46 characters: each
// word that would cross a row's end starts the next row instead. Doing it twice changes nothing.
void fillLineToRows(std::string& line);

// Notes which of the talk sheet's pictures are opaque (start-up, once the sheet is loaded).
void noteDialogueBoxOpacity();

// What the box about to be drawn covers with opaque pictures: the box and its name plate.
void addDialogueBoxCover(Cover& cover);

// The dialogue box: the box and name plate, the typed rows of the line, then the choice buttons
// (sets hoveredChoice from the mouse; lights it and the highlighted one) or the next-line arrow.
// Fills the shown line to its rows.
void drawDialogueBox(sf::RenderTarget& target);
