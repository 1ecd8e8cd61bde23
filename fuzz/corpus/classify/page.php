<html>
<body>
<p>Before <?php echo $hidden; ?> after</p>
<?php
$code = "secret";
?>
<p>Tail &amp; end</p>
</body>
</html>
