/* block comment
   spanning lines */
int counted = 1; // line comment
char *s = "after"; /* inline */ int tail;
