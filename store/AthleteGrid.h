#pragma once

class MessageService;
class QTableView;
class ResultSet;
class TForm1;

// Keeps a table grid's selected row and a result set's cursor together: every move of the
// cursor selects its row in the grid, and a row the user picks in the grid (mouse or keys)
// moves the cursor there, which reports the move like any other. Errors of the reaction to
// the move are shown by the program's error handling. Binding the same grid twice is
// harmless.
void linkGridToCursor(QTableView* grid, ResultSet& rs, MessageService& ui);

// The athlete part of the main window that the window itself does not set up: the tool-bar
// captions of the five athlete actions and the link between the athlete grid and its result
// set. Call once after the main window is created; calling again changes nothing.
void setUpAthleteControls(TForm1& form, MessageService& ui);
