1!VARIABLES: x y
ONE A
TWO B x
THREE x y C
NONE
# a comment
TWO D y # after a statement
