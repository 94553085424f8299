// dialogueScript.h -- everything the characters say: for a speaker and the story as it stands,
// the lines, the choices and what they do, the battle line and the quest that follows the talk.
#pragma once

// The roster slots the script speaks for.
enum Speaker : int {
    kSage = 0,
    kHonani = 1,
    kTrainer = 2,
    kJohn = 3,
    kLuke = 4,
    kCrisocione = 5,
    kBoss = 6,
    kItemMessage = 1990,
    kAttackTrainingMessage = 1991,
    kArmourTrainingMessage = 1992,
};

// Writes the conversation of `speaker` for the current story state into its record: first its
// choice labels are emptied; then its case writes the lines, choices, battle line and end quest it
// names (every other field, lines included, keeps its value); last, unless the case keeps them,
// its choice quests and end quest are set back to -1. The Boss's case may choose ending 3, 4 or
// 5; the crisocione's reseeds the random generator from the clock's seconds. A slot outside the
// roster is refused.
void loadDialogueScript(int speaker);

// The trainer's question counts as answered once a talk with him has ended with a skill chosen. A
// talk with him before quest 4 also marks him as talked to, and must not stand for the question,
// or quest 4 could neither ask it nor train.
bool trainerQuestionAnswered();
