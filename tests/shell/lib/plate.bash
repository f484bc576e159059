# Shared by the window tests of fillings: a plate with a round hole drawn by clicks, and the
# pictures that count its lit pixels. Source it after lib/gui.bash.
#
# Drawing x 20..120, y 20..70 lies on columns 283..557 and rows 745..609; the hole of radius 10
# round (70,45) on columns 393..447 round row 677.
lit() { "$xshot" count "$1" "$2" "$3" "$4" "$5" ffffff; }
# The cursor mark stays where the mouse last was over the drawing: below the plate.
picture() {
  pointer_to 500 700
  settle "the move away"
  pointer_to 900 300
  settle "the move aside"
  shot "$tmp/$1.png"
}
draw_plate() {
  press F1
  press Return
  press o
  click_at 283 745
  click_at 557 609
  press Tab Escape
  press F2
  press Return
  press o
  click_at 420 677
  click_at 447 677
  press Escape
}
